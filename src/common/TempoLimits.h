// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The numbers every tempo rule shares: the tempo range, its beat intervals, and the nudge amount.
#include <cstdint>

namespace pulsivar {

inline constexpr int16_t minTempoBpm = 30;
inline constexpr int16_t maxTempoBpm = 250;
// The same range as beat intervals: 250 BPM is 240 ms, 30 BPM is 2000 ms.
inline constexpr int32_t minBeatIntervalMs = 240;
inline constexpr int32_t maxBeatIntervalMs = 2000;

inline constexpr int16_t minNudgeMs = 20;
inline constexpr int16_t maxNudgeMs = 300;
inline constexpr int16_t defaultNudgeMs = 70;

inline constexpr int32_t limitBeatInterval(int32_t intervalMs)
{
    return intervalMs > maxBeatIntervalMs ? maxBeatIntervalMs
                                          : (intervalMs < minBeatIntervalMs ? minBeatIntervalMs : intervalMs);
}

inline constexpr int16_t limitNudge(int16_t nudgeMs)
{
    return nudgeMs > maxNudgeMs ? maxNudgeMs : (nudgeMs < minNudgeMs ? minNudgeMs : nudgeMs);
}

} // namespace pulsivar
