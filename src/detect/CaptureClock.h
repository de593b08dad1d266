// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// When each captured frame was taken, on the monotonic clock: a line through the earliest
// moment each read found its frames ready. A read that comes late only says the frames were
// there by then, so the earliest of recent reads is the tightest bound.
#include <QtGlobal>
#include <deque>
#include <utility>

namespace pulsivar {

class CaptureClock {
public:
    static constexpr double rate = 44100.0;
    // Reads this recent bound the line, so a changed device clock is followed.
    static constexpr double windowSeconds = 4.0;

    void reset() { reads_.clear(); }
    // A read at readySeconds found frameCount frames captured since the run started.
    void add(qint64 frameCount, double readySeconds)
    {
        const double base = readySeconds - double(frameCount) / rate;
        while (!reads_.empty() && reads_.back().second >= base)
            reads_.pop_back();
        reads_.emplace_back(readySeconds, base);
        while (reads_.front().first < readySeconds - windowSeconds)
            reads_.pop_front();
    }
    bool known() const { return !reads_.empty(); }
    // The monotonic time by which a frame (counted from the run's start) was captured.
    double seconds(double frame) const { return known() ? reads_.front().second + frame / rate : 0.0; }

private:
    // (time of the read, the line's time of frame 0), the bases rising from front to back.
    std::deque<std::pair<double, double>> reads_;
};

} // namespace pulsivar
