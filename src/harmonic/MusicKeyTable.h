// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The 24 musical keys of the Camelot wheel and the keys that mix well with each.
#include <QString>
#include <array>

namespace pulsivar {

enum class WheelRing { Inner, Outer }; // inner: minor keys (A codes), outer: major keys (B codes)

struct MusicKeyRow {
    const char *code;        // "12B"
    WheelRing ring;
    int clockPosition;       // 1 to 12, the number of the code
    const char *primaryName; // "Dbm"
    const char *alias;       // "C#m", or nullptr
    const char *noteWritten; // "D-Flat", as the wheel picture writes it
    const char *modeWritten; // "Minor" or "Major"
    const char *compatible;  // what the window shows for this key
    const char *labelName;   // the wheel space's click area
};

// Wheel order: 1A to 12A, then 1B to 12B. Lookups take the first matching row in this order.
const std::array<MusicKeyRow, 24> &musicKeyTable();

// The row of the wheel space at this ring and clock position.
const MusicKeyRow &musicKeyAt(WheelRing ring, int clockPosition);

// The compatible keys text for a key name or alias; blanks anywhere are ignored, case matters.
// Anything that is not a key gives an empty text.
QString CompatableMusicKeys(const QString &sInputKey);

} // namespace pulsivar
