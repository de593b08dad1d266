// SPDX-License-Identifier: GPL-2.0-or-later
#include "tempo/TempoText.h"

#include "common/NumberText.h"

#include <cmath>

namespace pulsivar {

std::optional<int16_t> tempoOfText(const QString &text)
{
    return toInt16(text);
}

QString formatPercent(double value)
{
    const double hundredths = roundHalfEven(std::fabs(value) * 100.0);
    const qint64 whole = qint64(hundredths) / 100;
    const int fraction = int(qint64(hundredths) % 100);
    QString text = value < 0 && hundredths > 0 ? QStringLiteral("-") : QString();
    if (whole > 0)
        text += QString::number(whole);
    text += u'.';
    if (fraction > 0) {
        QString decimals = QStringLiteral("%1").arg(fraction, 2, 10, QChar(u'0'));
        if (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += decimals;
    }
    return text;
}

QString percentDifferenceText(const QString &channel1, const QString &channel2)
{
    const bool has1 = isNumeric(channel1);
    const bool has2 = isNumeric(channel2);
    if (!has1 && !has2)
        return QStringLiteral("Enter a tempo for Channels 1 & 2");
    if (!has1)
        return QStringLiteral("Enter a tempo for Channel 1");
    if (!has2)
        return QStringLiteral("Enter a tempo for Channel 2");
    // The tempos as the boxes show them, decimals included.
    const auto a = numericValue(channel1);
    const auto b = numericValue(channel2);
    if (!a || !b)
        return {};
    if (*a == *b)
        return QStringLiteral("Channel 1 has the SAME TEMPO as Channel 2");
    // Relative to the faster channel; a zero tempo cannot be faster, so no division by zero.
    if (*a > *b)
        return QStringLiteral("Channel 1 is %1% FASTER than Channel 2").arg(formatPercent(100.0 - double(*b) / *a * 100.0));
    return QStringLiteral("Channel 1 is %1% SLOWER than Channel 2").arg(formatPercent(100.0 - double(*a) / *b * 100.0));
}

bool numericKeyPasses(int keyAscii)
{
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8 || keyAscii == 9 || keyAscii == ',' || keyAscii == 13
        || keyAscii == 27;
}

} // namespace pulsivar
