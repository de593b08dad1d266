// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The left channel of a 16-bit 44.1 kHz WAV file as raw sample values, as the program feeds them.

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

inline bool loadLeft(const std::string& path, std::vector<int16_t>& left)
{
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &spec, &buffer, &length))
        return false;
    const bool ok = spec.format == AUDIO_S16LSB && spec.freq == 44100 && spec.channels >= 1;
    if (ok) {
        const auto* samples = reinterpret_cast<const int16_t*>(buffer);
        const size_t frames = length / 2 / spec.channels;
        left.resize(frames);
        for (size_t i = 0; i < frames; ++i)
            left[i] = samples[i * spec.channels];
    }
    SDL_FreeWAV(buffer);
    return ok;
}
