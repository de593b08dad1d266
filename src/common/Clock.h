// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the program asks for the time; tests replace it with a clock they advance.
#include <QDateTime>

namespace pulsivar {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a clock that never jumps (tap timing, beat scheduling).
    virtual double monotonicSeconds() const;
    // Wall-clock date and time, for texts and day-long delays.
    virtual QDateTime currentDateTime() const;
    // When an input event happened, on the monotonic clock, from its own timestamp (ms on the
    // windowing system's clock): a tap is timed when it was made, not when it was handled. An
    // event without a timestamp happened now.
    virtual double inputEventSeconds(unsigned long timestampMs) const;
};

// Puts timestamps of another clock (the windowing system's) on the monotonic one with one fixed
// offset, taken from the first event, so two events keep exactly the distance of their
// timestamps however late each was handled. An offset more than a second off (a new server, a
// clock step, a stall) is measured afresh.
class EventTimeline {
public:
    double toMonotonic(double eventSeconds, double nowSeconds);

private:
    bool known_ = false;
    double offset_ = 0;
};

Clock &clock();
// nullptr brings back the system clock; the caller keeps ownership.
void setClock(Clock *replacement);

} // namespace pulsivar
