// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/NumberText.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace pulsivar {

double roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even unless changed.
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double result = std::nearbyint(value);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return result;
}

QStringView trimBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

std::optional<double> numericValue(const QString &text)
{
    // Blanks only: a line break or tab around a number makes it something else.
    const QStringView trimmed = trimBlanks(text);
    int pos = 0;
    bool negative = false;
    if (pos < trimmed.size() && (trimmed[pos] == u'+' || trimmed[pos] == u'-')) {
        negative = trimmed[pos] == u'-';
        ++pos;
        while (pos < trimmed.size() && trimmed[pos] == u' ')
            ++pos;
    }
    QString digits;
    bool seenPoint = false;
    bool seenDigit = false;
    bool lastWasComma = false;
    for (; pos < trimmed.size(); ++pos) {
        const QChar c = trimmed[pos];
        if (c >= u'0' && c <= u'9') {
            digits += c;
            seenDigit = true;
            lastWasComma = false;
        } else if (c == u',') {
            // Group separators only between digits of the whole part.
            if (!seenDigit || seenPoint)
                return std::nullopt;
            lastWasComma = true;
        } else if (c == u'.') {
            if (seenPoint || lastWasComma)
                return std::nullopt;
            seenPoint = true;
            digits += c;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit || lastWasComma)
        return std::nullopt;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

bool isNumeric(const QString &text)
{
    return numericValue(text).has_value();
}

template <typename T>
static std::optional<T> roundInto(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < double(std::numeric_limits<T>::min()) || rounded > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}

std::optional<int16_t> roundToInt16(double value) { return roundInto<int16_t>(value); }
std::optional<int32_t> roundToInt32(double value) { return roundInto<int32_t>(value); }

std::optional<int16_t> toInt16(const QString &text)
{
    const auto value = numericValue(text);
    return value ? roundToInt16(*value) : std::nullopt;
}

std::optional<int32_t> toInt32(const QString &text)
{
    const auto value = numericValue(text);
    return value ? roundToInt32(*value) : std::nullopt;
}

} // namespace pulsivar
