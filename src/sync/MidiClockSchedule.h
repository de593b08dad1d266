// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// MIDI clock as data: the 24 pulses a beat, the Start before a run's first beat and the Stop that
// ends it, each timed on the monotonic clock from the published beat schedule alone. Pulses fall
// evenly between two beats' due times, so they follow a tempo change or a nudge exactly as the
// click does.
#include "metronome/BeatSchedule.h"

#include <cstdint>

namespace pulsivar {

struct MidiClockEvent {
    double seconds = 0;
    uint8_t status = 0;
};

class MidiClockSchedule {
public:
    static constexpr int pulsesPerBeat = 24;
    static constexpr uint8_t clockPulse = 0xF8;
    static constexpr uint8_t startMessage = 0xFA;
    static constexpr uint8_t stopMessage = 0xFC;
    // Start goes this much before the run's first pulse: a follower counts its first beat from
    // the pulse after a Start.
    static constexpr double startLeadSeconds = 0.001;
    // A run whose first beat is this much older than the window asked for is joined at its next
    // beat. Pulses within a run are never dropped, however late (an output that stalled): a
    // follower counts them, and one missing would put it a 24th of a beat off for good.
    static constexpr double stalePulseSeconds = 0.05;

    // A new schedule: a new running run starts with a Start, a stop ends the run with a Stop at
    // the stop's time; within a run the pulses still to be sent follow the new times.
    void adopt(const BeatSchedule &schedule);
    // Hands out, in time order, the events due before untilSeconds (at most capacity of them);
    // returns how many. fromSeconds is the start of the window being filled.
    int take(double fromSeconds, double untilSeconds, MidiClockEvent *out, int capacity);

    bool isRunning() const { return started_; }
    // The time of pulse `pulse` (0..23) of beat `index` in the current schedule.
    double pulseSeconds(int64_t index, int pulse) const;

private:
    BeatSchedule schedule_;
    bool haveSchedule_ = false;
    uint64_t runSerial_ = 0;
    bool startPending_ = false;
    bool stopPending_ = false;
    double stopSeconds_ = 0;
    bool started_ = false;
    int64_t beat_ = 0;
    int pulse_ = 0;
};

} // namespace pulsivar
