// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// MIDI clock out through the ALSA sequencer: events stamped with their time go onto a queue of
// its own ahead of time, so the kernel sends each at its moment whatever the GUI thread does.
// The port ("Pulsivar clock") exists only while this output is chosen.
#include "metronome/BeatSchedule.h"
#include "sync/AlsaQueuePlan.h"
#include "sync/MidiClockSchedule.h"

#include <QString>
#include <QStringList>
#include <QTimer>

struct _snd_seq;

namespace pulsivar {

class AlsaMidiClock {
public:
    AlsaMidiClock();
    ~AlsaMidiClock();
    AlsaMidiClock(const AlsaMidiClock &) = delete;
    AlsaMidiClock &operator=(const AlsaMidiClock &) = delete;

    // The sequencer's writable ports ("client:port name"), empty without a sequencer.
    static QStringList destinations();
    // Opens the port and its queue and connects to destination (empty: none). False without a
    // sequencer.
    bool open(const QString &destination);
    void close();
    void setSchedule(const BeatSchedule &schedule);

private:
    void topUp();

    _snd_seq *seq_ = nullptr;
    int port_ = -1;
    int queue_ = -1;
    uint64_t runSerial_ = ~uint64_t(0);
    MidiClockSchedule clock_;
    AlsaQueuePlan plan_;
    QTimer timer_;
};

} // namespace pulsivar
