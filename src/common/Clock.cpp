#include "common/Clock.h"

#include <chrono>

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

namespace {
Clock systemClock;
Clock *current = &systemClock;
} // namespace

Clock &clock() { return *current; }

void setClock(Clock *replacement) { current = replacement ? replacement : &systemClock; }

} // namespace pulsivar
