// SPDX-License-Identifier: GPL-2.0-or-later
// The settings file is read at every start, whatever a crash, an editor or a disk left in it.
#include "platform/SettingsFile.h"

#include <cstdlib>

using namespace pulsivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const SettingsFile first = SettingsFile::parse(content);
    // What was read, once written, reads back the same.
    const SettingsFile second = SettingsFile::parse(first.serialize());
    if (second.entries().size() != first.entries().size())
        std::abort();
    for (const auto &entry : first.entries()) {
        const auto again = second.value(entry.key, entry.name);
        if (!again || again->type != entry.value.type || again->text != entry.value.text
            || again->number != entry.value.number)
            std::abort();
    }
    // Changing and removing work on whatever was read.
    SettingsFile changed = first;
    for (const auto &entry : first.entries())
        changed.setText(entry.key, entry.name, entry.name);
    if (!first.entries().isEmpty())
        changed.remove(first.entries().front().key, first.entries().front().name);
    changed.serialize();
    return 0;
}
