// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A 16-bit stereo PCM wave file around interleaved little-endian samples, for tests that play a
// generated track.
#include <QByteArray>
#include <QtEndian>

namespace pulsivar::test {

inline QByteArray stereoWaveFile(const QByteArray &pcm, quint32 rate)
{
    QByteArray header("RIFF");
    const auto u32 = [&](quint32 v) {
        v = qToLittleEndian(v);
        header.append(reinterpret_cast<const char *>(&v), 4);
    };
    const auto u16 = [&](quint16 v) {
        v = qToLittleEndian(v);
        header.append(reinterpret_cast<const char *>(&v), 2);
    };
    u32(quint32(36 + pcm.size()));
    header.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    header.append("data");
    u32(quint32(pcm.size()));
    return header + pcm;
}

} // namespace pulsivar::test
