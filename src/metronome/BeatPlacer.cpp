// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/BeatPlacer.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

double BeatPlacer::frameOf(int64_t index) const
{
    const BeatSegment &segment = schedule_.segmentFor(index);
    const size_t at = size_t(&segment - schedule_.segments.data());
    return segmentFrames_[at] + double(index - segment.fromIndex) * framesFor(segment.periodSeconds);
}

void BeatPlacer::adopt(const BeatSchedule &schedule, int64_t firstFrame, const StreamClock &clock, ClickMixer &mixer)
{
    std::array<double, BeatSchedule::maxSegments> frames{};
    const bool sameRun = haveSchedule_ && schedule.runSerial == schedule_.runSerial;
    if (sameRun) {
        for (int i = 0; i < schedule.segmentCount; ++i) {
            const BeatSegment &segment = schedule.segments[size_t(i)];
            frames[size_t(i)] = frameOf(segment.fromIndex)
                + framesFor(segment.fromSeconds - schedule_.dueSeconds(segment.fromIndex));
        }
    } else {
        if (haveSchedule_)
            mixer.withdrawBeatsFrom(std::llround(clock.frameAtSeconds(schedule.cancelFromSeconds + lead_)));
        // The run is anchored once on the stream clock; every beat after is counted in frames.
        const BeatSegment &first = schedule.segments[0];
        const double anchor = clock.frameAtSeconds(first.fromSeconds + lead_);
        for (int i = 0; i < schedule.segmentCount; ++i)
            frames[size_t(i)] = anchor + framesFor(schedule.segments[size_t(i)].fromSeconds - first.fromSeconds);
    }
    const bool firstSchedule = !haveSchedule_;
    schedule_ = schedule;
    segmentFrames_ = frames;
    haveSchedule_ = true;
    if (!sameRun) {
        // A fresh output joins a run that may be going for a while: it starts with the next beat.
        next_ = schedule.firstIndex();
        if (firstSchedule)
            next_ = std::max(next_, schedule.firstIndexAtOrAfter(clock.secondsAtFrame(double(firstFrame)) - lead_));
    }
}

void BeatPlacer::setSounds(const ClickSound *plain, const ClickSound *accent, uint64_t sequence)
{
    plain_ = plain;
    accent_ = accent;
    soundsSequence_ = sequence;
}

void BeatPlacer::place(int64_t firstFrame, int frames, const StreamClock &clock, ClickMixer &mixer)
{
    placedClickCount_ = 0;
    if (!haveSchedule_ || !schedule_.running)
        return;
    const int64_t end = firstFrame + frames;
    const double latest = framesFor(latestSeconds);
    for (;;) {
        const int64_t start = std::llround(frameOf(next_));
        if (start >= end)
            break;
        const int64_t index = next_++;
        if (double(firstFrame - start) > latest)
            continue;
        const ClickSound *sound = schedule_.accented(index) ? accent_ : plain_;
        const double sounds = clock.secondsAtFrame(double(start)) - lead_;
        if (schedule_.audible && sound && mixer.schedule(sound, start, soundsSequence_, true)
            && placedClickCount_ < maxClicksAPlace)
            placedClicks_[size_t(placedClickCount_++)] = {sounds, sound};
        lastPlaced_ = {index, sounds - schedule_.dueSeconds(index)};
    }
}

} // namespace pulsivar
