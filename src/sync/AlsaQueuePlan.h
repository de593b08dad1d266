// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The arithmetic of the ALSA sequencer path: events go onto a queue ahead of time, stamped with
// their time since the queue started, in top-ups that never reach further ahead than a beat
// change may still move (BeatGrid::guardSeconds), so queued events are never stale.
#include "metronome/BeatGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pulsivar {

struct QueueTime {
    uint32_t seconds = 0;
    uint32_t nanoseconds = 0;
};

class AlsaQueuePlan {
public:
    static constexpr double lookaheadSeconds = 0.08;
    static constexpr int topUpIntervalMs = 20;
    static_assert(lookaheadSeconds < BeatGrid::guardSeconds);

    // The queue started at this monotonic time.
    void started(double steadySeconds)
    {
        startSeconds_ = steadySeconds;
        filledUntil_ = steadySeconds;
    }
    // An event's stamp; one due before the queue started goes out at once.
    QueueTime queueTime(double seconds) const
    {
        const int64_t ns = std::max<int64_t>(0, std::llround((seconds - startSeconds_) * 1e9));
        return {uint32_t(ns / 1000000000), uint32_t(ns % 1000000000)};
    }
    // The span a top-up at nowSeconds fills: on from where the last one ended, to the lookahead.
    struct Window {
        double from = 0;
        double until = 0;
    };
    Window topUp(double nowSeconds)
    {
        const Window window{std::max(filledUntil_, nowSeconds), nowSeconds + lookaheadSeconds};
        filledUntil_ = std::max(filledUntil_, window.until);
        return window;
    }
    // Events queued but not yet sent were withdrawn (a new run): fill again from now.
    void withdrawn(double nowSeconds) { filledUntil_ = nowSeconds; }

private:
    double startSeconds_ = 0;
    double filledUntil_ = 0;
};

} // namespace pulsivar
