// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Starting SDL's audio where the program and the audio input module both start it: SDL 2.26's
// PulseAudio driver crashes while it starts if the server has no sink (it copies the missing
// default sink's name), so that case is looked for first and refused.

namespace pulsivar::audio {

// SDL_InitSubSystem(SDL_INIT_AUDIO), unless SDL would start its PulseAudio driver against a server
// without a default sink or source; false (with SDL's error set) when refused or failed.
bool startSdlAudio();

// Whether a reachable PulseAudio server lacks a default sink or source (an unreachable one does
// not count: SDL then gives up on it without harm).
bool pulseServerLacksDefaults();

} // namespace pulsivar::audio
