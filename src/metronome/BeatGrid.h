// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The running beat as data: when each beat is due on the monotonic clock, which beat of the
// measure it is and whether it is accented. The windows show it; its schedule, published to the
// sound engine and the sync outputs, is what they play.
#include "metronome/BeatSchedule.h"

#include <cstdint>

namespace pulsivar {

class BeatGrid {
public:
    struct Beat {
        int64_t index = 0;
        double dueSeconds = 0;
        int number = 1;
        bool accented = false;
    };

    // How far ahead an output may already have placed a beat: a change never moves a beat that
    // is due sooner than this, so every output applies it to the same beats.
    static constexpr double guardSeconds = 0.1;
    // The smallest gap a nudge may leave between two beats.
    static constexpr double minimumGapSeconds = 0.02;

    BeatGrid();

    const BeatSchedule &schedule() const { return schedule_; }
    bool isRunning() const { return schedule_.running; }
    // The period of the beats from now on; 0 while stopped.
    double periodSeconds() const;

    // Runs from now: the next beat falls one period later and shows startNumber (0 or less keeps
    // the number the count stands at). Clicks of the run before that are not yet heard are withdrawn.
    void start(double nowSeconds, double periodSeconds, int startNumber);
    // Stopped, the count back at 1; a click not yet heard is withdrawn.
    void stop(double nowSeconds);

    Beat beat(int64_t index) const;
    // The beat a display shows next, and moving past it.
    Beat next() const { return beat(next_); }
    void advance() { ++next_; }
    // A display that fell behind (a stalled GUI) goes on with the latest beat due, not every missed one.
    void catchUp(double nowSeconds);

    // Moves every beat far enough ahead by deltaSeconds (negative: earlier), tempo unchanged. A
    // shift of half a period or more is cut to just under half: beyond that it would only move
    // the beat the other way round and drop or add one.
    void shift(double nowSeconds, double deltaSeconds);
    // Beats far enough ahead run at periodSeconds and move towards anchorSeconds + k periods, by
    // at most maxShiftSeconds (a sync follows the music in small steps); the count through the
    // measure is kept. Returns the phase error found before the move, in seconds (positive: the
    // beats fall late), 0 while stopped.
    double retime(double nowSeconds, double periodSeconds, double anchorSeconds, double maxShiftSeconds);
    // The measure counted from the first beat far enough ahead: the beat after one showing n
    // shows the next number of the new measure. Bit n - 1 of the mask accents beat n.
    void setMeasure(double nowSeconds, int beatsPerMeasure, uint32_t accentMask);
    void setAudible(bool audible);
    // The count starts again at the first beat far enough ahead, which shows `number`: a count
    // that follows another's (a Link session's measure).
    void renumber(double nowSeconds, int number);
    // The first beat a change may still move.
    int64_t firstChangeable(double nowSeconds) const;

private:
    void append(const BeatSegment &segment);
    void changed() { ++schedule_.serial; }

    BeatSchedule schedule_;
    int64_t next_ = 0;
};

} // namespace pulsivar
