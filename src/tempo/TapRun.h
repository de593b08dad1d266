// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A run of tempo taps: the intervals so far, their average, and the run's end after a pause.
#include <array>
#include <cstdint>

namespace pulsivar {

class TapRun {
public:
    static constexpr int historyLength = 1001;

    // The interval from the previous tap to one at nowSeconds, in ms, exactly as measured.
    double intervalTo(double nowSeconds) const;
    bool isOpen() const { return mdLastTapTime > 0; }
    // Appends an (already limited) interval; the beat period is the run's average.
    double add(double intervalMs);
    void reset();
    // A beat's check: true when the run has just expired, the last tap lying more than a 30 BPM
    // beat back (nothing happens when none ran). nowSeconds is on the clock of mdLastTapTime.
    bool expire(double nowSeconds);
    // Taps in the run: one more than its intervals.
    int tapCount() const { return miIntervalHistoryIndex + 2; }

    std::array<double, historyLength> malIntervalHistory{};
    int16_t miIntervalHistoryIndex = -1;
    // Monotonic seconds of the last tap; 0 when no tap run is going.
    double mdLastTapTime = 0;
};

} // namespace pulsivar
