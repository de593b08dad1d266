// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/DetectionDisplay.h"

#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pulsivar {

QString zeroPaddedFixed(double value, int minDigits, int decimals)
{
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const qsizetype integerDigits = point < 0 ? digits.size() : point;
    if (integerDigits < minDigits)
        digits.prepend(QString(minDigits - integerDigits, QLatin1Char('0')));
    // A value that rounds to zero shows no sign.
    const bool negative = value < 0 && std::any_of(digits.cbegin(), digits.cend(), [](QChar c) {
                              return c >= u'1' && c <= u'9';
                          });
    return negative ? QLatin1Char('-') + digits : digits;
}

QString bpmLabelText(double tempo)
{
    return zeroPaddedFixed(tempo, 2, 2) + QStringLiteral(" BPM");
}

QString accuracyDigits(double confidence)
{
    const double percent = std::min(roundHalfEven(confidence * 3.0), 100.0);
    return zeroPaddedFixed(percent, 2, 0);
}

QString peakLabelText(int32_t peak)
{
    return zeroPaddedFixed(double(peak) / 32767.0 * 100.0, 2, 1) + QStringLiteral("% Peak VU");
}

std::optional<QString> tempoText(float tempo)
{
    if (!std::isfinite(tempo))
        return std::nullopt;
    char buffer[64];
    const auto [end, failure] = std::to_chars(buffer, buffer + sizeof buffer, tempo, std::chars_format::fixed);
    if (failure != std::errc())
        return std::nullopt;
    return QString::fromLatin1(buffer, end - buffer);
}

std::optional<QString> beatMarkerText(float marker)
{
    if (!std::isfinite(marker))
        return std::nullopt;
    return QString::number(std::floor(double(marker)), 'f', 0);
}

void DetectionDisplay::reset()
{
    msDetectedBPM.clear();
    msShownBPM.clear();
    msShownAccuracy.clear();
    msLastBeatMarker.clear();
    mlShownPeakLevel = 0;
}

void DetectionDisplay::forgetShownValues()
{
    msShownBPM.clear();
    msShownAccuracy.clear();
    mlShownPeakLevel = 0;
}

DisplayChanges DetectionDisplay::pollWithSound(const DetectorReading &reading, int32_t mlPeakLevel,
                                               bool lightIsWhite, bool holdChecked)
{
    DisplayChanges changes;
    if (const std::optional<QString> marker = beatMarkerText(reading.beatMarker)) {
        if (*marker != msLastBeatMarker) {
            msLastBeatMarker = *marker;
            changes.light = DisplayChanges::Light::Flash;
        } else if (!lightIsWhite) {
            changes.light = DisplayChanges::Light::White;
        }
    }
    if (mlShownPeakLevel < mlPeakLevel) {
        changes.peakLabel = peakLabelText(mlPeakLevel);
        mlShownPeakLevel = mlPeakLevel;
    }
    if (const std::optional<QString> tempo = tempoText(reading.tempo)) {
        msDetectedBPM = *tempo;
        if (msDetectedBPM != msShownBPM) {
            msShownBPM = msDetectedBPM;
            changes.bpmLabel = bpmLabelText(reading.tempo);
            changes.applyTempo = holdChecked && isDetectedTempo(msDetectedBPM);
        }
    }
    if (std::isfinite(reading.confidence)) {
        const QString accuracy = accuracyDigits(reading.confidence);
        if (accuracy != msShownAccuracy) {
            msShownAccuracy = accuracy;
            changes.accuracyLabel = accuracy + QStringLiteral("% Accuracy");
        }
    }
    return changes;
}

bool isDetectedTempo(const QString &sBPM)
{
    const std::optional<double> value = numericValue(sBPM);
    return value && *value > 0;
}

} // namespace pulsivar
