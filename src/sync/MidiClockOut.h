// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The chosen MIDI clock output: nothing while it is off, otherwise one JACK MIDI port (connected
// to the chosen input, or "Pulsivar clock" left for others to connect to) or, without a JACK
// server, the ALSA sequencer. Fed the beat schedule each time it changes.
#include "metronome/BeatSchedule.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace pulsivar {

class JackMidiClock;
class AlsaMidiClock;

class MidiClockOut {
public:
    // The entry of the port of its own that other programs connect to.
    static QString virtualPortName() { return QStringLiteral("Pulsivar clock"); }
    static QString jackPrefix() { return QStringLiteral("JACK: "); }
    static QString alsaPrefix() { return QStringLiteral("ALSA: "); }

    MidiClockOut();
    ~MidiClockOut();

    // What may be chosen besides "Off": the port of its own, then one entry an output port.
    static QStringList ports();
    // Opens the chosen port (empty: off, closing whatever was open). False when it would not open;
    // the output is then off.
    bool select(const QString &port);
    const QString &selected() const { return selected_; }
    bool isOpen() const;
    void setSchedule(const BeatSchedule &schedule);

private:
    QString selected_;
    BeatSchedule schedule_;
    bool haveSchedule_ = false;
    std::unique_ptr<JackMidiClock> jack_;
    std::unique_ptr<AlsaMidiClock> alsa_;
};

} // namespace pulsivar
