#include "tempo/Nudge.h"

#include <algorithm>

namespace pulsivar {

int Nudge::periodNow() const
{
    const int period = basePeriodMs - (mbNudgeFasterPending ? fasterMs : 0) + (mbNudgeSlowerPending ? slowerMs : 0);
    // A timer period below 1 ms would stop the beat.
    return std::max(1, period);
}

std::optional<int> Nudge::click(Direction direction, int currentPeriodMs, int nudgeMs)
{
    bool &pendingFlag = direction == Direction::Faster ? mbNudgeFasterPending : mbNudgeSlowerPending;
    if (pendingFlag)
        return std::nullopt;
    // The period to come back to is the one that ran before any nudge.
    if (!pending())
        basePeriodMs = currentPeriodMs;
    (direction == Direction::Faster ? fasterMs : slowerMs) = nudgeMs;
    mbNudgeFirstTickDone = false;
    pendingFlag = true;
    return periodNow();
}

std::optional<int> Nudge::tick()
{
    if (!pending())
        return std::nullopt;
    const int before = periodNow();
    if (mbNudgeFasterPending) {
        if (mbNudgeFirstTickDone)
            mbNudgeFasterPending = false;
        mbNudgeFirstTickDone = true;
    }
    if (mbNudgeSlowerPending) {
        if (mbNudgeFirstTickDone)
            mbNudgeSlowerPending = false;
        mbNudgeFirstTickDone = true;
    }
    const int after = pending() ? periodNow() : basePeriodMs;
    if (after == before && pending())
        return std::nullopt;
    return after;
}

void Nudge::cancel()
{
    mbNudgeFasterPending = false;
    mbNudgeSlowerPending = false;
    mbNudgeFirstTickDone = false;
}

} // namespace pulsivar
