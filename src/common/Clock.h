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
};

Clock &clock();
// nullptr brings back the system clock; the caller keeps ownership.
void setClock(Clock *replacement);

} // namespace pulsivar
