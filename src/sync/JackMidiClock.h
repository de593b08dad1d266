// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// MIDI clock out through a JACK MIDI port: the process callback writes each pulse at its exact
// frame in the cycle. The client and its port exist only while this output is chosen.
#include "metronome/BeatSchedule.h"
#include "metronome/LatestValue.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace pulsivar {

class JackMidiClock {
public:
    static constexpr const char *clientName = "Pulsivar";
    static constexpr const char *portName = "clock";

    JackMidiClock();
    ~JackMidiClock();
    JackMidiClock(const JackMidiClock &) = delete;
    JackMidiClock &operator=(const JackMidiClock &) = delete;

    // Whether a JACK server runs; asks it without starting one.
    static bool serverRuns();
    // The MIDI inputs of the running JACK server ("client:port"), empty without one.
    static QStringList destinations();

    // Opens the client and its port and connects it to destination (empty: leaves it for others
    // to connect to). False when no JACK server runs or the port would not open.
    bool open(const QString &destination);
    void close();
    bool isOpen() const;
    void setSchedule(const BeatSchedule &schedule);

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
};

} // namespace pulsivar
