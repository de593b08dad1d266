// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Places monotonic times on an output's frame count: anchored once a run and counted at the
// nominal rate from there, so pulses a whole number of frames apart stay exactly that far apart.
#include <cmath>
#include <cstdint>

namespace pulsivar {

class FrameTimeline {
public:
    explicit FrameTimeline(double rate) : rate_(rate) { }

    void anchor(int64_t frame, double seconds)
    {
        frame_ = frame;
        seconds_ = seconds;
        anchored_ = true;
    }
    bool isAnchored() const { return anchored_; }
    void release() { anchored_ = false; }

    int64_t frameAt(double seconds) const { return frame_ + int64_t(std::llround((seconds - seconds_) * rate_)); }
    double secondsAt(double frame) const { return seconds_ + (frame - double(frame_)) / rate_; }
    double rate() const { return rate_; }

private:
    double rate_;
    int64_t frame_ = 0;
    double seconds_ = 0;
    bool anchored_ = false;
};

} // namespace pulsivar
