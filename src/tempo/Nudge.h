#pragma once
// The nudge: one beat period shortened or lengthened, then exactly the period before restored.
#include <cstdint>
#include <optional>

namespace pulsivar {

class Nudge {
public:
    enum class Direction { Faster, Slower };

    // A click: the new timer period, or nullopt when a nudge that way is already pending.
    std::optional<int> click(Direction direction, int currentPeriodMs, int nudgeMs);
    // A beat tick, before the beat shows: the period to re-arm with, or nullopt to keep it.
    std::optional<int> tick();
    // A new tempo or a stop sets its own period; nothing pending survives it.
    void cancel();

    bool pending() const { return mbNudgeFasterPending || mbNudgeSlowerPending; }

    bool mbNudgeFasterPending = false;
    bool mbNudgeSlowerPending = false;
    bool mbNudgeFirstTickDone = false;

private:
    int periodNow() const;

    int basePeriodMs = 0;
    int fasterMs = 0;
    int slowerMs = 0;
};

} // namespace pulsivar
