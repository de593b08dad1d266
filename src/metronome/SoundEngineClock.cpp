// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/SoundEngineClock.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

StreamClock::StreamClock(double sampleRate)
    : nominalSecondsPerFrame_(1.0 / sampleRate), secondsPerFrame_(1.0 / sampleRate)
{
}

void StreamClock::restart(int64_t frame, double seconds)
{
    lineFrame_ = frame;
    lineSeconds_ = seconds;
    secondsPerFrame_ = nominalSecondsPerFrame_;
    outliers_ = 0;
    sinceRestart_ = 0;
    locked_ = true;
}

void StreamClock::update(int64_t frame, double seconds)
{
    if (!locked_ || frame <= lineFrame_) {
        restart(frame, seconds);
        return;
    }
    const double frames = double(frame - lineFrame_);
    const double predicted = lineSeconds_ + frames * secondsPerFrame_;
    const double error = seconds - predicted;
    if (std::abs(error) > relockSeconds) {
        restart(frame, seconds);
        return;
    }
    if (++sinceRestart_ <= settlingCallbacks && error < -errorLimitSeconds) {
        const int settled = sinceRestart_;
        restart(frame, seconds);
        sinceRestart_ = settled;
        return;
    }
    outliers_ = std::abs(error) > errorLimitSeconds ? outliers_ + 1 : 0;
    if (outliers_ >= relockAfterOutliers) {
        restart(frame, seconds);
        return;
    }
    const double heard = std::clamp(error, -errorLimitSeconds, errorLimitSeconds);
    lineSeconds_ = predicted + positionGain * heard;
    lineFrame_ = frame;
    secondsPerFrame_ += rateGain * heard / frames;
    // A sound card's clock is off by parts per thousand at most; anything further is noise.
    secondsPerFrame_ = std::clamp(secondsPerFrame_, nominalSecondsPerFrame_ * 0.99,
                                  nominalSecondsPerFrame_ * 1.01);
}

double StreamClock::secondsAtFrame(double frame) const
{
    return lineSeconds_ + (frame - double(lineFrame_)) * secondsPerFrame_;
}

double StreamClock::frameAtSeconds(double seconds) const
{
    return double(lineFrame_) + (seconds - lineSeconds_) / secondsPerFrame_;
}

int64_t clickStartFrame(const StreamClock &clock, double dueSeconds, double latencySeconds)
{
    return int64_t(std::llround(clock.frameAtSeconds(dueSeconds + latencySeconds)));
}

} // namespace pulsivar
