// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/Clock.h"

#include <chrono>
#include <cmath>

namespace pulsivar {

double Clock::monotonicSeconds() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

QDateTime Clock::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

double Clock::inputEventSeconds(unsigned long timestampMs) const
{
    static EventTimeline timeline;
    const double now = monotonicSeconds();
    if (timestampMs == 0)
        return now;
    return timeline.toMonotonic(double(timestampMs) / 1000.0, now);
}

double EventTimeline::toMonotonic(double eventSeconds, double nowSeconds)
{
    const double offset = nowSeconds - eventSeconds;
    if (!known_ || std::abs(offset - offset_) > 1.0)
        offset_ = offset;
    known_ = true;
    return eventSeconds + offset_;
}

namespace {
Clock systemClock;
Clock *current = &systemClock;
} // namespace

Clock &clock() { return *current; }

void setClock(Clock *replacement) { current = replacement ? replacement : &systemClock; }

} // namespace pulsivar
