// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Deciding whether a text is a number, and converting it the way the whole program does.
#include <QString>
#include <cstdint>
#include <optional>

namespace pulsivar {

// Spaces removed at both ends; tabs, line breaks and other white space belong to the text.
QStringView trimBlanks(QStringView text);

// Nearest integer, halves to the even neighbour (127.5 -> 128, 126.5 -> 126).
double roundHalfEven(double value);

// Optional blanks, an optional sign, digits with "," group separators and at most one "."
// decimal point, at least one digit.
bool isNumeric(const QString &text);

// The value of a numeric text; nullopt for anything isNumeric refuses.
std::optional<double> numericValue(const QString &text);

// Numeric text rounded half to even; nullopt when not numeric or outside the type's range.
std::optional<int16_t> toInt16(const QString &text);
std::optional<int32_t> toInt32(const QString &text);

// A double rounded half to even into the type; nullopt when it does not fit.
std::optional<int16_t> roundToInt16(double value);
std::optional<int32_t> roundToInt32(double value);

} // namespace pulsivar
