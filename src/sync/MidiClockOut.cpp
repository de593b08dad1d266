// SPDX-License-Identifier: GPL-2.0-or-later
#include "sync/MidiClockOut.h"

#include "sync/AlsaMidiClock.h"
#include "sync/JackMidiClock.h"

namespace pulsivar {

MidiClockOut::MidiClockOut() = default;
MidiClockOut::~MidiClockOut() = default;

QStringList MidiClockOut::ports()
{
    QStringList names{virtualPortName()};
    for (const QString &port : JackMidiClock::destinations())
        names << jackPrefix() + port;
    for (const QString &port : AlsaMidiClock::destinations())
        names << alsaPrefix() + port;
    return names;
}

bool MidiClockOut::select(const QString &port)
{
    jack_.reset();
    alsa_.reset();
    selected_.clear();
    if (port.isEmpty())
        return true;
    bool opened = false;
    if (port == virtualPortName() || port.startsWith(jackPrefix())) {
        const QString destination = port == virtualPortName() ? QString() : port.mid(jackPrefix().size());
        jack_ = std::make_unique<JackMidiClock>();
        opened = jack_->open(destination);
        if (!opened)
            jack_.reset();
    }
    // Without a JACK server the port of its own is an ALSA sequencer port.
    if (!opened && (port == virtualPortName() || port.startsWith(alsaPrefix()))) {
        const QString destination = port == virtualPortName() ? QString() : port.mid(alsaPrefix().size());
        alsa_ = std::make_unique<AlsaMidiClock>();
        opened = alsa_->open(destination);
        if (!opened)
            alsa_.reset();
    }
    if (!opened)
        return false;
    selected_ = port;
    if (haveSchedule_)
        setSchedule(schedule_);
    return true;
}

bool MidiClockOut::isOpen() const
{
    return jack_ != nullptr || alsa_ != nullptr;
}

void MidiClockOut::setSchedule(const BeatSchedule &schedule)
{
    schedule_ = schedule;
    haveSchedule_ = true;
    if (jack_)
        jack_->setSchedule(schedule);
    if (alsa_)
        alsa_->setSchedule(schedule);
}

} // namespace pulsivar
