// SPDX-License-Identifier: GPL-2.0-or-later
#include "sync/JackMidiClock.h"

#include "metronome/SoundEngineSdl.h"
#include "sync/FrameTimeline.h"
#include "sync/MidiClockSchedule.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

namespace pulsivar {

namespace {

void quiet(const char *) { }

// Without a server libjack prints its failure to connect on every try; that is no fault here.
jack_client_t *openClient(const char *name)
{
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    jack_status_t status{};
    return jack_client_open(name, JackNoStartServer, &status);
}

} // namespace

struct JackMidiClock::Stream {
    jack_client_t *client = nullptr;
    jack_port_t *port = nullptr;
    LatestValue<BeatSchedule> schedules;
    MidiClockSchedule clock;
    FrameTimeline timeline{48000};
    uint64_t runSerial = ~uint64_t(0);

    static int process(jack_nframes_t frames, void *arg);
    void fill(jack_nframes_t frames);
};

int JackMidiClock::Stream::process(jack_nframes_t frames, void *arg)
{
    static_cast<Stream *>(arg)->fill(frames);
    return 0;
}

void JackMidiClock::Stream::fill(jack_nframes_t frames)
{
    void *buffer = jack_port_get_buffer(port, frames);
    jack_midi_clear_buffer(buffer);
    jack_nframes_t cycleFrame = 0;
    jack_time_t cycleMicros = 0, nextMicros = 0;
    float periodMicros = 0;
    if (jack_get_cycle_times(client, &cycleFrame, &cycleMicros, &nextMicros, &periodMicros) != 0)
        cycleFrame = jack_last_frame_time(client);

    BeatSchedule schedule;
    if (schedules.take(schedule)) {
        clock.adopt(schedule);
        if (schedule.runSerial != runSerial || !timeline.isAnchored()) {
            // A run is counted in this server's frames from one anchor: the cycle's start on the
            // monotonic clock, found from how long ago it began on JACK's own clock.
            runSerial = schedule.runSerial;
            // JACK's estimate of the cycle's start may lie a little after "now": signed.
            const double ago = cycleMicros != 0 ? double(int64_t(jack_get_time()) - int64_t(cycleMicros)) * 1e-6 : 0.0;
            timeline.anchor(int64_t(cycleFrame), steadySeconds() - ago);
        }
    }
    if (!timeline.isAnchored())
        return;
    // Frame counts wrap after a day at 48 kHz; the timeline counts on in 64 bits.
    const int64_t first = int64_t(cycleFrame);
    const double from = timeline.secondsAt(double(first));
    const double until = timeline.secondsAt(double(first) + frames - 0.5);
    std::array<MidiClockEvent, 64> events{};
    const int count = clock.take(from, until, events.data(), int(events.size()));
    for (int i = 0; i < count; ++i) {
        const int64_t offset
            = std::clamp<int64_t>(timeline.frameAt(events[size_t(i)].seconds) - first, 0, int64_t(frames) - 1);
        const jack_midi_data_t status = events[size_t(i)].status;
        jack_midi_event_write(buffer, jack_nframes_t(offset), &status, 1);
    }
}

JackMidiClock::JackMidiClock() = default;

JackMidiClock::~JackMidiClock()
{
    close();
}

bool JackMidiClock::serverRuns()
{
    jack_client_t *client = openClient("PulsivarProbe");
    if (client == nullptr)
        return false;
    jack_client_close(client);
    return true;
}

QStringList JackMidiClock::destinations()
{
    QStringList names;
    jack_client_t *client = openClient("PulsivarProbe");
    if (client == nullptr)
        return names;
    if (const char **ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput)) {
        for (const char **port = ports; *port != nullptr; ++port) {
            const QString name = QString::fromUtf8(*port);
            if (!name.startsWith(QLatin1String(clientName) + ':'))
                names << name;
        }
        jack_free(ports);
    }
    jack_client_close(client);
    return names;
}

bool JackMidiClock::open(const QString &destination)
{
    close();
    auto stream = std::make_unique<Stream>();
    stream->client = openClient(clientName);
    if (stream->client == nullptr)
        return false;
    stream->timeline = FrameTimeline(double(jack_get_sample_rate(stream->client)));
    stream->port = jack_port_register(stream->client, portName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (stream->port == nullptr || jack_set_process_callback(stream->client, &Stream::process, stream.get()) != 0
        || jack_activate(stream->client) != 0) {
        jack_client_close(stream->client);
        return false;
    }
    if (!destination.isEmpty()) {
        // A destination that went away leaves the port open for others to connect to.
        jack_connect(stream->client, jack_port_name(stream->port), destination.toUtf8().constData());
    }
    stream_ = std::move(stream);
    return true;
}

void JackMidiClock::close()
{
    if (!stream_)
        return;
    // Two cycles more, so that a Stop published just before (the program ending) goes out.
    const double cycle = double(jack_get_buffer_size(stream_->client)) / jack_get_sample_rate(stream_->client);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::min(0.2, 2 * cycle)));
    jack_deactivate(stream_->client);
    jack_client_close(stream_->client);
    stream_.reset();
}

bool JackMidiClock::isOpen() const
{
    return stream_ != nullptr;
}

void JackMidiClock::setSchedule(const BeatSchedule &schedule)
{
    if (stream_)
        stream_->schedules.publish(schedule);
}

} // namespace pulsivar
