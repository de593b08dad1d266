// SPDX-License-Identifier: GPL-2.0-or-later
// Version texts come from the stored last-run version and from the maker's web site.
#include "FuzzText.h"
#include "common/Version.h"

#include <cstdlib>
#include <cstring>

using namespace pulsivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Two texts, split at the first zero byte.
    const auto *split = static_cast<const uint8_t *>(std::memchr(data, 0, size));
    const size_t firstSize = split ? size_t(split - data) : size;
    const QString older = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(firstSize));
    const QString newer = split ? fuzz::textFrom(split + 1, size - firstSize - 1) : QString();

    const bool forward = IsNewerVersion(older, newer);
    const bool backward = IsNewerVersion(newer, older);
    // Newer is a strict order: never both ways, never a version newer than itself.
    if (forward && backward)
        std::abort();
    if (IsNewerVersion(older, older) || IsNewerVersion(newer, newer))
        std::abort();
    IsNewerVersion(currentVersionString(), newer);
    return 0;
}
