// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two beat wave files in the program folder, written from the program's resources.
#include <QString>

namespace pulsivar {

inline const QString plainWaveFileName = QStringLiteral("MetronomeWave.wav");
inline const QString accentWaveFileName = QStringLiteral("AccentMetronomeWave.wav");

// Full paths of the two files in the program folder.
QString plainWavePath();
QString accentWavePath();

// Writes whichever file is missing, never replacing one that exists. On a failure it stops,
// shows the warning box naming the file that failed and returns false.
bool ExtractWaveFiles();

} // namespace pulsivar
