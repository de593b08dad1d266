// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/BeatGrid.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

BeatGrid::BeatGrid()
{
    schedule_.segmentCount = 1;
}

double BeatGrid::periodSeconds() const
{
    return isRunning() ? schedule_.segments[size_t(schedule_.segmentCount - 1)].periodSeconds : 0.0;
}

void BeatGrid::start(double nowSeconds, double periodSeconds, int startNumber)
{
    const BeatSegment &last = schedule_.segments[size_t(schedule_.segmentCount - 1)];
    BeatSegment segment;
    segment.fromIndex = next_;
    segment.fromSeconds = nowSeconds + periodSeconds;
    segment.periodSeconds = periodSeconds;
    segment.fromNumber = startNumber > 0 ? startNumber : next().number;
    segment.beatsPerMeasure = last.beatsPerMeasure;
    segment.accentMask = last.accentMask;
    schedule_.segments[0] = segment;
    schedule_.segmentCount = 1;
    schedule_.running = true;
    ++schedule_.runSerial;
    schedule_.cancelFromSeconds = nowSeconds;
    changed();
}

void BeatGrid::stop(double nowSeconds)
{
    BeatSegment &first = schedule_.segments[0];
    first = schedule_.segments[size_t(schedule_.segmentCount - 1)];
    first.fromIndex = next_;
    first.fromSeconds = nowSeconds;
    first.fromNumber = 1;
    schedule_.segmentCount = 1;
    if (schedule_.running) {
        ++schedule_.runSerial;
        schedule_.cancelFromSeconds = nowSeconds;
    }
    schedule_.running = false;
    changed();
}

BeatGrid::Beat BeatGrid::beat(int64_t index) const
{
    return {index, schedule_.dueSeconds(index), schedule_.number(index), schedule_.accented(index)};
}

void BeatGrid::catchUp(double nowSeconds)
{
    if (!isRunning())
        return;
    const int64_t latest = schedule_.firstIndexAtOrAfter(nowSeconds) - 1;
    if (latest > next_)
        next_ = latest;
}

int64_t BeatGrid::firstChangeable(double nowSeconds) const
{
    return std::max(next_, schedule_.firstIndexAtOrAfter(nowSeconds + guardSeconds));
}

void BeatGrid::append(const BeatSegment &segment)
{
    // Segments the display has left behind are no use to anyone: every output is ahead of it.
    int keep = 0;
    while (keep + 1 < schedule_.segmentCount && schedule_.segments[size_t(keep) + 1].fromIndex <= next_)
        ++keep;
    // A segment the new one starts at (or before) is replaced by it.
    int count = schedule_.segmentCount;
    while (count > keep + 1 && schedule_.segments[size_t(count) - 1].fromIndex >= segment.fromIndex)
        --count;
    std::copy(schedule_.segments.begin() + keep, schedule_.segments.begin() + count, schedule_.segments.begin());
    count -= keep;
    if (count == BeatSchedule::maxSegments) {
        std::copy(schedule_.segments.begin() + 1, schedule_.segments.end(), schedule_.segments.begin());
        --count;
    }
    if (count == 1 && schedule_.segments[0].fromIndex >= segment.fromIndex)
        schedule_.segments[0] = segment;  // it takes over the run from its first beat
    else
        schedule_.segments[size_t(count++)] = segment;
    schedule_.segmentCount = count;
    changed();
}

void BeatGrid::shift(double nowSeconds, double deltaSeconds)
{
    if (!isRunning() || deltaSeconds == 0)
        return;
    const double period = periodSeconds();
    const double limit = std::max(0.0, period / 2 - minimumGapSeconds);
    const double delta = std::clamp(deltaSeconds, -limit, limit);
    // An earlier beat must still be far enough ahead once it has moved.
    int64_t from = firstChangeable(nowSeconds);
    while (schedule_.dueSeconds(from) + delta < nowSeconds + guardSeconds)
        ++from;
    const BeatSegment &timing = schedule_.segmentFor(from);
    BeatSegment segment = timing;
    segment.fromIndex = from;
    segment.fromSeconds = schedule_.dueSeconds(from) + delta;
    segment.fromNumber = schedule_.number(from);
    append(segment);
}

double BeatGrid::retime(double nowSeconds, double periodSeconds, double anchorSeconds, double maxShiftSeconds)
{
    if (!isRunning() || !(periodSeconds > 0))
        return 0.0;
    int64_t from = firstChangeable(nowSeconds);
    const double due = schedule_.dueSeconds(from);
    const double error = std::remainder(due - anchorSeconds, periodSeconds);
    const double limit = std::min(std::max(0.0, maxShiftSeconds), periodSeconds / 2 - minimumGapSeconds);
    double at = due - std::clamp(error, -limit, limit);
    if (at < nowSeconds + guardSeconds) {
        // Moved earlier it would be too close: the beat after it takes the new timing.
        at += periodSeconds;
        ++from;
    }
    BeatSegment segment = schedule_.segmentFor(from);
    segment.fromNumber = schedule_.number(from);
    segment.fromIndex = from;
    segment.fromSeconds = at;
    segment.periodSeconds = periodSeconds;
    append(segment);
    return error;
}

void BeatGrid::setMeasure(double nowSeconds, int beatsPerMeasure, uint32_t accentMask)
{
    const BeatSegment &last = schedule_.segments[size_t(schedule_.segmentCount - 1)];
    if (last.beatsPerMeasure == beatsPerMeasure && last.accentMask == accentMask)
        return;
    if (!isRunning()) {
        // Nothing plays: the count simply goes on in the new measure.
        BeatSegment &only = schedule_.segments[0];
        only.fromNumber = schedule_.number(next_);
        only.fromIndex = next_;
        only.beatsPerMeasure = beatsPerMeasure;
        only.accentMask = accentMask;
        schedule_.segmentCount = 1;
        changed();
        return;
    }
    const int64_t from = firstChangeable(nowSeconds);
    BeatSegment segment = schedule_.segmentFor(from);
    segment.fromSeconds = schedule_.dueSeconds(from);
    // The first beat of a run keeps the number it was started with.
    segment.fromNumber = from == schedule_.firstIndex() ? schedule_.number(from)
                                                         : nextBeatNumber(schedule_.number(from - 1), beatsPerMeasure);
    segment.fromIndex = from;
    segment.beatsPerMeasure = beatsPerMeasure;
    segment.accentMask = accentMask;
    append(segment);
}

void BeatGrid::renumber(double nowSeconds, int number)
{
    const int64_t from = firstChangeable(nowSeconds);
    if (!isRunning() || schedule_.number(from) == number)
        return;
    BeatSegment segment = schedule_.segmentFor(from);
    segment.fromSeconds = schedule_.dueSeconds(from);
    segment.fromIndex = from;
    segment.fromNumber = number;
    append(segment);
}

void BeatGrid::setAudible(bool audible)
{
    if (schedule_.audible == audible)
        return;
    schedule_.audible = audible;
    changed();
}

} // namespace pulsivar
