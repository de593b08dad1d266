// SPDX-License-Identifier: GPL-2.0-or-later
// Musical key names come from the key box of the harmonic mixing window.
#include "FuzzText.h"
#include "harmonic/MusicKeyTable.h"

#include <cstdlib>

using namespace pulsivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString key = fuzz::textFrom(data, size);
    const QString compatible = CompatableMusicKeys(key);
    if (compatible.isEmpty())
        return 0;
    // Anything found is one of the table's own texts.
    for (const auto &row : musicKeyTable()) {
        if (compatible == QLatin1String(row.compatible))
            return 0;
    }
    std::abort();
}
