// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The audio thread's side of the beat grid: turns the published schedule into clicks at exact
// frames of the output stream, each beat a whole number of periods (at the nominal rate) from
// the start of its run, so the tempo heard is exactly the tempo set.
#include "metronome/BeatSchedule.h"
#include "metronome/SoundEngineClock.h"
#include "metronome/SoundEngineMixer.h"

#include <array>
#include <cstdint>

namespace pulsivar {

class BeatPlacer {
public:
    // A beat more than this late (its buffer long gone: a stalled output) is skipped, not played.
    static constexpr double latestSeconds = 0.05;

    explicit BeatPlacer(double sampleRate) : rate_(sampleRate) {}

    // Where a beat is placed against its due time: 0 puts it in the buffer rendered at that
    // moment; a negative lead places it earlier, so that it is heard at that moment.
    void setLeadSeconds(double seconds) { lead_ = seconds; }

    // A new schedule. Within a run every beat keeps its frame and moves by exactly its change in
    // time; a new run (or the first schedule) is anchored on the stream clock, and the clicks of
    // the run before it that have not started are withdrawn.
    // firstFrame is the first frame of the buffer being rendered.
    void adopt(const BeatSchedule &schedule, int64_t firstFrame, const StreamClock &clock, ClickMixer &mixer);
    // The sounds of plain and accented beats; the sequence keeps them alive while in use.
    void setSounds(const ClickSound *plain, const ClickSound *accent, uint64_t sequence);
    uint64_t soundsSequence() const { return soundsSequence_; }

    // Hands the mixer every beat that starts before firstFrame + frames.
    void place(int64_t firstFrame, int frames, const StreamClock &clock, ClickMixer &mixer);

    // The last beat placed, and how much later than its due time it is placed on the stream
    // clock: the drift of the output's sample clock since the run started.
    struct Placed {
        int64_t index = -1;
        double offsetSeconds = 0;
    };
    const Placed &lastPlaced() const { return lastPlaced_; }
    // The clicks the last place() handed to the mixer: when each sounds on the stream clock's
    // line (its beat's due time plus the output's drift since the run started: after an
    // underrun that is later than due), and its sound.
    struct Click {
        double soundsSeconds = 0;
        const ClickSound *sound = nullptr;
    };
    static constexpr int maxClicksAPlace = 8;
    const std::array<Click, maxClicksAPlace> &placedClicks() const { return placedClicks_; }
    int placedClickCount() const { return placedClickCount_; }
    int64_t nextIndex() const { return next_; }
    double frameOf(int64_t index) const;

private:
    double framesFor(double seconds) const { return seconds * rate_; }

    double rate_;
    double lead_ = 0.0;
    bool haveSchedule_ = false;
    BeatSchedule schedule_;
    // The frame of each segment's first beat.
    std::array<double, BeatSchedule::maxSegments> segmentFrames_{};
    int64_t next_ = 0;
    const ClickSound *plain_ = nullptr;
    const ClickSound *accent_ = nullptr;
    uint64_t soundsSequence_ = ClickMixer::noSequence;
    Placed lastPlaced_;
    std::array<Click, maxClicksAPlace> placedClicks_{};
    int placedClickCount_ = 0;
};

} // namespace pulsivar
