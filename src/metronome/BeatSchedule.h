// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The beat grid as a plain value: a few segments of evenly spaced beats on the monotonic clock,
// each with the count through the measure from its first beat. The GUI thread owns one and
// publishes copies; the audio thread and the sync outputs compute every beat from a copy alone.
// Within one run (between two starts) an output that keeps a clock of its own moves a beat by
// exactly the difference between two schedules' times for it, so a change never jumps by the
// drift between that clock and the monotonic one.
#include <array>
#include <cstdint>

namespace pulsivar {

struct BeatSegment {
    // Beat fromIndex falls at fromSeconds; each later beat one period after the one before.
    int64_t fromIndex = 0;
    double fromSeconds = 0;
    double periodSeconds = 0.5;
    // The count: beat fromIndex shows fromNumber, and the numbers run on through the measure.
    int fromNumber = 1;
    int beatsPerMeasure = 4;
    // Bit n - 1 accents beat n.
    uint32_t accentMask = 1;
};

struct BeatSchedule {
    static constexpr int maxSegments = 8;

    // Grows with every change, so a reader sees when it has a new one.
    uint64_t serial = 0;
    // Grows with every start and stop: clicks of an earlier run due from cancelFromSeconds on
    // are withdrawn.
    uint64_t runSerial = 0;
    double cancelFromSeconds = 0;
    bool running = false;
    // Whether the beats are to be heard (the beat sound is on).
    bool audible = false;

    int segmentCount = 0;
    // Oldest first; each later one starts at a higher beat index.
    std::array<BeatSegment, maxSegments> segments{};

    // The segment that times a beat: the last one starting at or before it (the first one for
    // an earlier beat).
    const BeatSegment &segmentFor(int64_t index) const;
    double dueSeconds(int64_t index) const;
    int number(int64_t index) const;
    bool accented(int64_t index) const;
    // The first beat of the run, and the first beat falling at or after a time.
    int64_t firstIndex() const { return segmentCount > 0 ? segments[0].fromIndex : 0; }
    int64_t firstIndexAtOrAfter(double seconds) const;
};

// The number a beat shows after one showing `number`, in a measure of beatsPerMeasure.
int nextBeatNumber(int number, int beatsPerMeasure);

} // namespace pulsivar
