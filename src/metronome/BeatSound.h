// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Playing a beat sound file, and the sound engine the program plays through.
#include "metronome/BeatSoundEngine.h"
#include <QString>

namespace pulsivar {

// Whether a path may be played: not empty, ends in "wav" in any letter case, and names an
// existing normal (not hidden) file.
bool isPlayableWaveFile(const QString &path);

// Plays the file at once, asynchronously, if it qualifies; anything else plays nothing.
void PlayWaveFile(const QString &path);
// The same, placed in the output stream at the moment the beat was due, so a late tick
// does not move the click.
void PlayWaveFileAt(const QString &path, double dueMonotonicSeconds);

// Opens the sound output now (at a metronome start) so the first click is not late.
void PrepareBeatSound();
// Silences whatever click is sounding or waiting (at a metronome stop).
void StopBeatSound();

// The engine in use: the installed one, else the real audio output, created on first use.
BeatSoundEngine &beatSoundEngine();
// Tests install a fake; nullptr brings back the real output. The caller keeps ownership.
void setBeatSoundEngine(BeatSoundEngine *engine);
// Closes the real audio output (at shutdown); it reopens if used again.
void releaseBeatSoundEngine();

} // namespace pulsivar
