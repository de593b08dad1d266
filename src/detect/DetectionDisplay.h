// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the detection panel shows at each poll: tempo, accuracy, peak level and the beat light.
#include <QString>
#include <cstdint>
#include <optional>

namespace pulsivar {

// Texts of the panel at rest and while the input is silent.
inline const QString idleBpmText = QStringLiteral("000.00 BPM");
inline const QString idleAccuracyText = QStringLiteral("0%");
inline const QString idlePeakText = QStringLiteral("0.0% Peak VU");
inline const QString detectingBpmText = QStringLiteral("Detecting BPM...");

// value with at least minDigits integer digits and exactly decimals decimals ("00.0": 3.05 -> 03.1).
QString zeroPaddedFixed(double value, int minDigits, int decimals);
// The tempo label: 127.456 -> "127.46 BPM".
QString bpmLabelText(double tempo);
// The confidence as shown: x 3, halves to even, at most 100, two digits at least (1.5 -> "04").
QString accuracyDigits(double confidence);
// The peak label, in percent of full scale: 16384 -> "50.0% Peak VU".
QString peakLabelText(int32_t peak);
// The detector's tempo as text with every significant digit of the single-precision value.
std::optional<QString> tempoText(float tempo);
// The whole beats of a beat marker as text; nullopt for a value that is no number.
std::optional<QString> beatMarkerText(float marker);

struct DetectorReading {
    float tempo = 0;
    float confidence = 0;
    float beatMarker = 0;
};

// The changes one poll makes; an empty optional leaves a label as it is.
struct DisplayChanges {
    enum class Light { Keep, Flash, White };
    Light light = Light::Keep;
    std::optional<QString> bpmLabel;
    std::optional<QString> accuracyLabel;
    std::optional<QString> peakLabel;
    // A new tempo is to go into the selected channel ("Hold" is checked).
    bool applyTempo = false;
};

class DetectionDisplay {
public:
    // A new sampling run: nothing shown yet.
    void reset();
    // A poll while the input carries sound.
    DisplayChanges pollWithSound(const DetectorReading &reading, int32_t mlPeakLevel,
                                 bool lightIsWhite, bool holdChecked);
    // The silence texts replace the shown values, so the next poll with sound writes them afresh.
    void forgetShownValues();

    // The detector's tempo as text, for "Use BPM" and "Hold".
    QString msDetectedBPM;
    QString msShownBPM;
    QString msShownAccuracy;
    QString msLastBeatMarker;
    int32_t mlShownPeakLevel = 0;
};

// Whether a detected tempo text names a tempo at all (the detector reports 0 until it finds one).
bool isDetectedTempo(const QString &sBPM);

} // namespace pulsivar
