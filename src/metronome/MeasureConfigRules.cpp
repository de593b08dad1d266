// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/MeasureConfigRules.h"

#include <array>

namespace pulsivar {

int16_t beatsForTimeSignature(int index)
{
    if (index < firstTimeSignature || index > lastTimeSignature)
        return fallbackBeatsPerMeasure;
    return int16_t(index);
}

int32_t designBeatColor(int beat)
{
    static constexpr std::array<int32_t, 7> colors{
        0x000000FF, // red
        0x00C00000, // dark blue
        0x0000FF00, // green
        0x0000FFFF, // yellow
        0x00C000C0, // purple
        0x000080FF, // orange
        0x00C0C0C0, // silver
    };
    if (beat < 1 || beat > int(colors.size()))
        return 0;
    return colors[std::size_t(beat - 1)];
}

QString accentConfigText(const QList<bool> &accentChecked)
{
    QString text;
    text.reserve(accentChecked.size());
    for (bool checked : accentChecked)
        text += checked ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

uint32_t accentMaskOf(const QString &accentConfig)
{
    uint32_t mask = 0;
    for (int beat = 1; beat <= measureBeatRows && beat <= accentConfig.size(); ++beat) {
        if (accentConfig[beat - 1] == u'1')
            mask |= 1u << (beat - 1);
    }
    return mask;
}

QString beatColorDialogTitle(int beat)
{
    return QStringLiteral("Select a new color for beat number ") + QString::number(beat);
}

QString colorSelectionErrorText(const QString &errorDescription)
{
    return QStringLiteral("An error occurred while customizing the beat colors: \n\nError Description: ")
           + errorDescription;
}

} // namespace pulsivar
