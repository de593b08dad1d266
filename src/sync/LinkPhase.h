// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where a Link session's beats fall, as a straight line on the monotonic clock through one beat
// the session gave, and how far a beat of ours is off them. The quantum (the beats per measure)
// says which session beat is beat 1 of a measure, the same for every peer.
#include <cstdint>

namespace pulsivar {

class LinkPhase {
public:
    // The session's beat at knownSeconds was knownBeat, at bpm, with this quantum.
    LinkPhase(double bpm, double knownSeconds, double knownBeat, double quantum);

    double bpm() const { return bpm_; }
    double beatAt(double seconds) const;
    double secondsAt(double beat) const;
    // How far to move a beat heard at heardSeconds so that it lands on the nearest session beat.
    double offsetToNearestBeat(double heardSeconds) const;
    // The count (1 .. quantum) of the session beat nearest heardSeconds.
    int numberAt(double heardSeconds) const;

private:
    double bpm_;
    double knownSeconds_;
    double knownBeat_;
    double quantum_;
};

// "Link: 2 peers", "Link: 1 peer", "Link: no peers".
const char *linkPeersFormat(int64_t peers);

} // namespace pulsivar
