// SPDX-License-Identifier: GPL-2.0-or-later
#include "sync/MidiClockSchedule.h"

namespace pulsivar {

void MidiClockSchedule::adopt(const BeatSchedule &schedule)
{
    const bool newRun = !haveSchedule_ || schedule.runSerial != runSerial_;
    haveSchedule_ = true;
    schedule_ = schedule;
    if (!newRun)
        return;
    runSerial_ = schedule.runSerial;
    if (started_ && !schedule.running) {
        stopPending_ = true;
        stopSeconds_ = schedule.cancelFromSeconds;
    }
    started_ = false;
    startPending_ = schedule.running;
    if (schedule.running) {
        // A Start while a follower runs starts it again from the top, which is what a new run is.
        stopPending_ = false;
        beat_ = schedule.firstIndex();
        pulse_ = 0;
    }
}

double MidiClockSchedule::pulseSeconds(int64_t index, int pulse) const
{
    const double due = schedule_.dueSeconds(index);
    if (pulse == 0)
        return due;
    return due + (schedule_.dueSeconds(index + 1) - due) * pulse / pulsesPerBeat;
}

int MidiClockSchedule::take(double fromSeconds, double untilSeconds, MidiClockEvent *out, int capacity)
{
    int count = 0;
    if (stopPending_ && count < capacity && stopSeconds_ < untilSeconds) {
        out[count++] = {stopSeconds_, stopMessage};
        stopPending_ = false;
    }
    if (startPending_ && count < capacity) {
        // Joining a run long under way: the follower starts with the next beat, not mid-beat.
        if (pulseSeconds(beat_, 0) - startLeadSeconds < fromSeconds - stalePulseSeconds)
            beat_ = schedule_.firstIndexAtOrAfter(fromSeconds);
        const double at = pulseSeconds(beat_, 0) - startLeadSeconds;
        if (at >= untilSeconds)
            return count;
        out[count++] = {at, startMessage};
        startPending_ = false;
        started_ = true;
    }
    if (!started_)
        return count;
    while (count < capacity) {
        const double at = pulseSeconds(beat_, pulse_);
        if (at >= untilSeconds)
            break;
        out[count++] = {at, clockPulse};
        if (++pulse_ == pulsesPerBeat) {
            pulse_ = 0;
            ++beat_;
        }
    }
    return count;
}

} // namespace pulsivar
