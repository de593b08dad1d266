#pragma once
// The measure's rules: which time signatures exist, the swatches' design colours, the accent text.
#include <QList>
#include <QString>
#include <cstdint>

namespace pulsivar {

inline constexpr int firstTimeSignature = 2;
inline constexpr int lastTimeSignature = 7;
// What a measure falls back to when the stored or requested count is not a time signature.
inline constexpr int16_t fallbackBeatsPerMeasure = 4;
// Beats that have a row of their own (colour, accent); a beat past them is never accented.
inline constexpr int measureBeatRows = 7;

// The beats per measure a time-signature index stands for: 2 to 7 as is, anything else 4.
int16_t beatsForTimeSignature(int index);

// The swatch colour a beat shows while its stored colour is 0 (not chosen), as 0x00BBGGRR;
// 0 for a beat without a design colour.
int32_t designBeatColor(int beat);

// 0 is the stored value for "not chosen", so pure black can never become a beat colour.
inline bool isChoosableBeatColor(int32_t colorRef) { return colorRef != 0; }

// One character a box, beat 1 first: "1" checked, "0" not, hidden rows included.
QString accentConfigText(const QList<bool> &accentChecked);

QString beatColorDialogTitle(int beat);
QString colorSelectionErrorText(const QString &errorDescription);

} // namespace pulsivar
