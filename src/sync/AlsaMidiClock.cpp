// SPDX-License-Identifier: GPL-2.0-or-later
#include "sync/AlsaMidiClock.h"

#include "metronome/SoundEngineSdl.h"

#include <alsa/asoundlib.h>

#include <array>

namespace pulsivar {

namespace {

void quiet(const char *, int, const char *, int, const char *, ...) { }

snd_seq_t *openSequencer()
{
    // Without the kernel's sequencer the library complains on stderr; that is no fault here.
    snd_lib_error_set_handler(quiet);
    snd_seq_t *seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
        return nullptr;
    return seq;
}

} // namespace

AlsaMidiClock::AlsaMidiClock()
{
    timer_.setInterval(AlsaQueuePlan::topUpIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { topUp(); });
}

AlsaMidiClock::~AlsaMidiClock()
{
    close();
}

QStringList AlsaMidiClock::destinations()
{
    QStringList names;
    snd_seq_t *seq = openSequencer();
    if (seq == nullptr)
        return names;
    snd_seq_client_info_t *client = nullptr;
    snd_seq_port_info_t *port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    const int self = snd_seq_client_id(seq);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            if ((caps & SND_SEQ_PORT_CAP_WRITE) && (caps & SND_SEQ_PORT_CAP_SUBS_WRITE))
                names << QStringLiteral("%1:%2 %3")
                             .arg(id)
                             .arg(snd_seq_port_info_get_port(port))
                             .arg(QString::fromUtf8(snd_seq_port_info_get_name(port)));
        }
    }
    snd_seq_close(seq);
    return names;
}

bool AlsaMidiClock::open(const QString &destination)
{
    close();
    seq_ = openSequencer();
    if (seq_ == nullptr)
        return false;
    snd_seq_set_client_name(seq_, "Pulsivar");
    port_ = snd_seq_create_simple_port(seq_, "Pulsivar clock", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                       SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    queue_ = snd_seq_alloc_named_queue(seq_, "Pulsivar clock");
    if (port_ < 0 || queue_ < 0) {
        close();
        return false;
    }
    if (!destination.isEmpty()) {
        snd_seq_addr_t address{};
        if (snd_seq_parse_address(seq_, &address, destination.section(' ', 0, 0).toUtf8().constData()) == 0)
            snd_seq_connect_to(seq_, port_, address.client, address.port);
    }
    snd_seq_start_queue(seq_, queue_, nullptr);
    snd_seq_drain_output(seq_);
    plan_.started(steadySeconds());
    timer_.start();
    return true;
}

void AlsaMidiClock::close()
{
    timer_.stop();
    if (seq_ == nullptr)
        return;
    if (queue_ >= 0) {
        snd_seq_stop_queue(seq_, queue_, nullptr);
        snd_seq_drain_output(seq_);
        snd_seq_free_queue(seq_, queue_);
    }
    snd_seq_close(seq_);
    seq_ = nullptr;
    port_ = queue_ = -1;
}

void AlsaMidiClock::setSchedule(const BeatSchedule &schedule)
{
    if (seq_ != nullptr && schedule.runSerial != runSerial_) {
        // Pulses of the run before that are queued but not sent are withdrawn, as the click's are.
        runSerial_ = schedule.runSerial;
        snd_seq_remove_events_t *remove = nullptr;
        snd_seq_remove_events_alloca(&remove);
        snd_seq_remove_events_set_condition(remove, SND_SEQ_REMOVE_OUTPUT);
        snd_seq_remove_events_set_queue(remove, queue_);
        snd_seq_remove_events(seq_, remove);
        plan_.withdrawn(steadySeconds());
    }
    clock_.adopt(schedule);
    topUp();
}

void AlsaMidiClock::topUp()
{
    if (seq_ == nullptr)
        return;
    const AlsaQueuePlan::Window window = plan_.topUp(steadySeconds());
    std::array<MidiClockEvent, 64> events{};
    const int count = clock_.take(window.from, window.until, events.data(), int(events.size()));
    for (int i = 0; i < count; ++i) {
        snd_seq_event_t event{};
        snd_seq_ev_clear(&event);
        snd_seq_ev_set_source(&event, port_);
        snd_seq_ev_set_subs(&event);
        const uint8_t status = events[size_t(i)].status;
        event.type = status == MidiClockSchedule::startMessage ? SND_SEQ_EVENT_START
            : status == MidiClockSchedule::stopMessage         ? SND_SEQ_EVENT_STOP
                                                               : SND_SEQ_EVENT_CLOCK;
        const QueueTime at = plan_.queueTime(events[size_t(i)].seconds);
        snd_seq_real_time_t time{at.seconds, at.nanoseconds};
        snd_seq_ev_schedule_real(&event, queue_, 0, &time);
        snd_seq_event_output(seq_, &event);
    }
    snd_seq_drain_output(seq_);
}

} // namespace pulsivar
