// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Notices when the input falls silent after sound, and when that silence has lasted too long.
// Times are monotonic seconds, so a change of the wall clock moves nothing.
#include <cstdint>
#include <optional>

namespace pulsivar {

class SilenceTracker {
public:
    // A block whose peak is at most this is quiet.
    static constexpr int32_t quietPeak = 100;
    // More consecutive quiet blocks than this make silence.
    static constexpr int16_t quietBlocksBeforeSilence = 50;

    // A new run: no sound yet, no silence pending.
    void reset();
    // One block's peak, taken at nowSeconds.
    void addBlock(int32_t peak, double nowSeconds);
    // Whether more whole seconds than timeoutSeconds have begun since the silence began; never
    // for the values that mean no time-out, nor while no silence follows sound.
    bool timedOut(double nowSeconds, int32_t timeoutSeconds) const;

    bool mbInputHasSound = false;
    // When the input fell silent after sound; empty while it is not silent.
    std::optional<double> mdtSilenceStart;

private:
    int16_t quietBlocks = 0;
};

// Whole-second boundaries passed from one time to the other; negative when to lies before from.
int64_t secondBoundariesBetween(double fromSeconds, double toSeconds);

} // namespace pulsivar
