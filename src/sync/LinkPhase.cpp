// SPDX-License-Identifier: GPL-2.0-or-later
#include "sync/LinkPhase.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

LinkPhase::LinkPhase(double bpm, double knownSeconds, double knownBeat, double quantum)
    : bpm_(bpm), knownSeconds_(knownSeconds), knownBeat_(knownBeat), quantum_(std::max(1.0, quantum))
{
}

double LinkPhase::beatAt(double seconds) const
{
    return knownBeat_ + (seconds - knownSeconds_) * bpm_ / 60.0;
}

double LinkPhase::secondsAt(double beat) const
{
    return knownSeconds_ + (beat - knownBeat_) * 60.0 / bpm_;
}

double LinkPhase::offsetToNearestBeat(double heardSeconds) const
{
    return secondsAt(std::round(beatAt(heardSeconds))) - heardSeconds;
}

int LinkPhase::numberAt(double heardSeconds) const
{
    const double beat = std::round(beatAt(heardSeconds));
    // Session beats may be negative (before the session's zero): the count still runs 1 .. quantum.
    const double inMeasure = beat - std::floor(beat / quantum_) * quantum_;
    return int(std::floor(inMeasure + 1e-6)) + 1;
}

const char *linkPeersFormat(int64_t peers)
{
    return peers == 0 ? "Link: no peers" : peers == 1 ? "Link: 1 peer" : "Link: %1 peers";
}

} // namespace pulsivar
