// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Tempos as texts and intervals: the conversions every way of setting a tempo shares.
#include <QString>
#include <cstdint>
#include <optional>

namespace pulsivar {

// The tempo of a numeric text, rounded half to even into 16 bits; nullopt otherwise.
std::optional<int16_t> tempoOfText(const QString &text);

// A number in the "###.##" pattern: at most two decimals, no leading zero, trailing zeros
// dropped, the point always written (7.69, 50., .4).
QString formatPercent(double value);

// The comparison line for the two channel box texts (already trimmed and with "0" emptied).
QString percentDifferenceText(const QString &channel1, const QString &channel2);

// Whether the numeric key filter lets a typed character through (digits, Backspace, Tab,
// comma, Enter, Esc).
bool numericKeyPasses(int keyAscii);

} // namespace pulsivar
