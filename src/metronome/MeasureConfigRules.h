// SPDX-License-Identifier: GPL-2.0-or-later
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

// One character a box, beat 1 first: "1" checked, "0" not, hidden rows included.
QString accentConfigText(const QList<bool> &accentChecked);
// The accented beats of an accent text as bits (beat n is bit n - 1): a "1" at position n
// accents beat n; any other character, or none, leaves it plain; beats past the rows never are.
uint32_t accentMaskOf(const QString &accentConfig);

QString beatColorDialogTitle(int beat);
QString colorSelectionErrorText(const QString &errorDescription);

} // namespace pulsivar
