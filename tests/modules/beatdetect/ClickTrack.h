// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Synthetic click tracks: a short decaying noise burst on every beat, as raw 16-bit values.

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace pulsivar::test {

inline std::vector<float> clickTrack(double bpm, double seconds, double amplitude = 20000.0,
                                     double firstBeat = 0.123)
{
    constexpr int rate = 44100;
    std::vector<float> out(static_cast<size_t>(seconds * rate), 0.0f);
    std::mt19937 noise(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (double beat = firstBeat; beat < seconds; beat += 60.0 / bpm) {
        const auto start = static_cast<size_t>(beat * rate);
        for (size_t i = 0; i < 1500 && start + i < out.size(); ++i)
            out[start + i] = static_cast<float>(amplitude * uniform(noise) * std::exp(-i / 200.0));
    }
    return out;
}

} // namespace pulsivar::test
