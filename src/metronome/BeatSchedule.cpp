// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/BeatSchedule.h"

#include "metronome/MeasureConfigRules.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

int nextBeatNumber(int number, int beatsPerMeasure)
{
    // Past the end of the measure (a count of 0 or less stays on beat 1) the count starts again.
    return number + 1 >= beatsPerMeasure + 1 ? 1 : number + 1;
}

const BeatSegment &BeatSchedule::segmentFor(int64_t index) const
{
    int found = 0;
    for (int i = 1; i < segmentCount; ++i) {
        if (segments[size_t(i)].fromIndex <= index)
            found = i;
    }
    return segments[size_t(found)];
}

double BeatSchedule::dueSeconds(int64_t index) const
{
    const BeatSegment &segment = segmentFor(index);
    return segment.fromSeconds + double(index - segment.fromIndex) * segment.periodSeconds;
}

int BeatSchedule::number(int64_t index) const
{
    const BeatSegment &segment = segmentFor(index);
    const int64_t steps = index - segment.fromIndex;
    if (steps <= 0)
        return segment.fromNumber;
    const int64_t beats = std::max(1, segment.beatsPerMeasure);
    // A number at or past the end of the measure goes back to 1 with the next beat.
    if (segment.fromNumber >= beats)
        return int((steps - 1) % beats) + 1;
    return int((segment.fromNumber - 1 + steps) % beats) + 1;
}

bool BeatSchedule::accented(int64_t index) const
{
    const int beat = number(index);
    return beat >= 1 && beat <= measureBeatRows && (segmentFor(index).accentMask & (1u << (beat - 1))) != 0;
}

int64_t BeatSchedule::firstIndexAtOrAfter(double seconds) const
{
    // Segments only ever start later, so the first segment whose span reaches the time holds it.
    for (int i = 0; i < segmentCount; ++i) {
        const BeatSegment &segment = segments[size_t(i)];
        const bool last = i + 1 == segmentCount;
        const int64_t end = last ? INT64_MAX : segments[size_t(i) + 1].fromIndex;
        const double steps = std::ceil((seconds - segment.fromSeconds) / segment.periodSeconds - 1e-9);
        const int64_t index = segment.fromIndex + std::max<int64_t>(0, int64_t(steps));
        if (index < end)
            return index;
    }
    return firstIndex();
}

} // namespace pulsivar
