// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Turns a fuzzer's bytes into the texts the program meets: typed or decoded text.
#include <QString>
#include <cstddef>
#include <cstdint>

namespace pulsivar::fuzz {

// The first byte chooses how the rest is read: even as UTF-8 (what a file or the network
// gives), odd as raw UTF-16 code units (what a text box can hold, lone surrogates included).
inline QString textFrom(const uint8_t *data, std::size_t size)
{
    if (size == 0)
        return QString();
    const bool utf16 = data[0] & 1;
    ++data;
    --size;
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text[qsizetype(i / 2)] = QChar(char16_t(data[i] | (data[i + 1] << 8)));
    return text;
}

} // namespace pulsivar::fuzz
