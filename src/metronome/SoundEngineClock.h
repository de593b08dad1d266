// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Maps the monotonic clock onto the output stream's frame count, so a click can be placed at
// the exact frame where its beat was due.
#include <cstdint>

namespace pulsivar {

// A straight line "callback time = f(frame)" fitted to the times at which the audio callback
// runs. The callbacks keep to the device's sample clock within about 0.1 ms, but now and then
// one wakes a few milliseconds late, and the sample clock runs some hundred parts per million
// off the monotonic clock. A delay-locked loop that hears each error only up to a small limit
// ignores the late wakeups and follows the rate, so the line moves by microseconds between two
// beats.
class StreamClock {
public:
    explicit StreamClock(double sampleRate);

    // Called by each audio callback with the first frame it fills and the monotonic time it runs.
    void update(int64_t frame, double seconds);
    bool isLocked() const { return locked_; }

    // Monotonic time at which the callback filling this frame runs, on the smoothed line.
    double secondsAtFrame(double frame) const;
    // The frame (fractional) whose callback runs at this monotonic time.
    double frameAtSeconds(double seconds) const;
    double framesPerSecond() const { return 1.0 / secondsPerFrame_; }

    // A callback this far off the line (the stream starting, a suspended machine) starts the
    // line again from it.
    static constexpr double relockSeconds = 0.1;
    // Errors count only up to this much, so a late wakeup barely moves the line...
    static constexpr double errorLimitSeconds = 0.0005;
    // ...but this many callbacks in a row beyond it are a real shift (an underrun): start again.
    static constexpr int relockAfterOutliers = 8;
    // Right after a start the first callbacks may come in a burst that fills the output, so
    // the line is anchored late; for this many callbacks an earlier one moves the anchor back.
    static constexpr int settlingCallbacks = 16;
    // Loop gains per callback: the position settles in about 50 callbacks, the rate in about 100.
    static constexpr double positionGain = 0.02;
    static constexpr double rateGain = 0.0002;

private:
    void restart(int64_t frame, double seconds);

    double nominalSecondsPerFrame_;
    double secondsPerFrame_;
    double lineSeconds_ = 0.0;  // smoothed callback time of lineFrame_
    int64_t lineFrame_ = 0;
    int outliers_ = 0;
    int sinceRestart_ = 0;
    bool locked_ = false;
};

// The stream frame at which a click due at dueSeconds starts: the frame whose callback runs a
// fixed latency after the due time, so a tick that arrives up to that much late is still in time.
int64_t clickStartFrame(const StreamClock &clock, double dueSeconds, double latencySeconds);

} // namespace pulsivar
