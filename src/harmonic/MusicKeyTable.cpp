// SPDX-License-Identifier: GPL-2.0-or-later
#include "MusicKeyTable.h"

namespace pulsivar {

namespace {

constexpr auto I = WheelRing::Inner;
constexpr auto O = WheelRing::Outer;

constexpr std::array<MusicKeyRow, 24> table{{
    {"1A", I, 1, "Abm", "G#m", "A-Flat", "Minor", "Abm, G#m, Dbm, Ebm, B", "lblAbm"},
    {"2A", I, 2, "Ebm", "D#m", "E-Flat", "Minor", "Ebm, D#m, Abm, Bbm, F#", "lblEbm"},
    {"3A", I, 3, "Bbm", "A#m", "B-Flat", "Minor", "Bbm, A#m, Ebm, Fm, Db", "lblBbm"},
    {"4A", I, 4, "Fm", nullptr, "F", "Minor", "Fm, Bbm, Cm, Ab", "lblFm"},
    {"5A", I, 5, "Cm", nullptr, "C", "Minor", "Cm, Fm, Gm, Eb", "lblCm"},
    {"6A", I, 6, "Gm", nullptr, "G", "Minor", "Gm, Cm, Dm, Bb", "lblGm"},
    {"7A", I, 7, "Dm", nullptr, "D", "Minor", "Dm, Gm, Am, F", "lblDm"},
    {"8A", I, 8, "Am", nullptr, "A", "Minor", "Am, Dm, Em, C", "lblAm"},
    {"9A", I, 9, "Em", nullptr, "E", "Minor", "Em, Am, Bm, G", "lblEm"},
    {"10A", I, 10, "Bm", nullptr, "B", "Minor", "Bm, Em, F#m, D", "lblBm"},
    {"11A", I, 11, "F#m", "Gbm", "F-Sharp", "Minor", "F#m, Gbm, Bm, Dbm, A", "lblFSm"},
    {"12A", I, 12, "Dbm", "C#m", "D-Flat", "Minor", "Dbm, C#m, F#m, Abm, E", "lblDbm"},
    {"1B", O, 1, "B", nullptr, "B", "Major", "B, E, F#, Abm", "lblB"},
    {"2B", O, 2, "F#", "Gb", "F-Sharp", "Major", "F#, Gb, B, Db, Ebm", "lblFS"},
    {"3B", O, 3, "Db", "C#", "D-Flat", "Major", "Db, C#, F#, Ab, Bbm", "lblDb"},
    {"4B", O, 4, "Ab", "G#", "A-Flat", "Major", "Ab, G#, Db, Eb, Fm", "lblAb"},
    {"5B", O, 5, "Eb", "D#", "E-Flat", "Major", "Eb, D#, Ab, Bb, Cm", "lblEb"},
    {"6B", O, 6, "Bb", "A#", "B-Flat", "Major", "Bb, A#, Eb, F, Gm", "lblBb"},
    {"7B", O, 7, "F", nullptr, "F", "Major", "F, Bb, C, Dm", "lblF"},
    {"8B", O, 8, "C", nullptr, "C", "Major", "C, F, G, Am", "lblC"},
    {"9B", O, 9, "G", nullptr, "G", "Major", "G, C, D, Em", "lblG"},
    {"10B", O, 10, "D", nullptr, "D", "Major", "D, G, A, Bm", "lblD"},
    {"11B", O, 11, "A", nullptr, "A", "Major", "A, D, E, F#m", "lblA"},
    {"12B", O, 12, "E", nullptr, "E", "Major", "E, A, B, Dbm", "lblE"},
}};

} // namespace

const std::array<MusicKeyRow, 24> &musicKeyTable()
{
    return table;
}

const MusicKeyRow &musicKeyAt(WheelRing ring, int clockPosition)
{
    const int position = ((clockPosition - 1) % 12 + 12) % 12; // 0 to 11, wrapping like a clock
    return table[(ring == WheelRing::Inner ? 0 : 12) + position];
}

QString CompatableMusicKeys(const QString &sInputKey)
{
    // Only the blank character counts: the list never holds tabs, and a tab is no key.
    QString key = sInputKey;
    key.remove(QLatin1Char(' '));
    if (key.isEmpty())
        return {};
    for (const MusicKeyRow &row : table) {
        if (key == QLatin1String(row.primaryName)
            || (row.alias && key == QLatin1String(row.alias)))
            return QString::fromLatin1(row.compatible);
    }
    return {};
}

} // namespace pulsivar
