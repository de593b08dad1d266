// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The beat sound engine on an SDL2 audio output: the audio thread places every beat of the
// published schedule itself, mixed in at its exact frame, so neither a busy GUI thread nor the
// buffer size moves a click.
#include "metronome/BeatPlacer.h"
#include "metronome/BeatSoundEngine.h"
#include "metronome/LatestValue.h"
#include "metronome/SoundEngineClock.h"
#include "metronome/SoundEngineMixer.h"
#include "metronome/SoundEngineRing.h"

#include <QHash>
#include <QTimer>
#include <atomic>
#include <deque>
#include <memory>

namespace pulsivar {

// Decodes a wave file (any format SDL reads) into mono float at the given rate; nullptr when the
// file cannot be read or is not a wave file.
std::shared_ptr<ClickSound> decodeWaveFile(const QString &path, int sampleRate);

class SdlBeatSoundEngine : public BeatSoundEngine {
public:
    static constexpr int sampleRate = 44100;
    static constexpr int channels = 2;
    // 512 frames underran on a loaded 2-core machine, and every underrun shifts all later clicks.
    // 2048 would halve the wakeups of SDL's PulseAudio thread (1.3% of a core at 1024), but the sync
    // to the music then lands the click 5 ms earlier than at 1024: its latency terms assume this size.
    static constexpr int bufferFrames = 1024;
    // How long after its due time a one-off sound (a preview) is placed: it is handed over from
    // the GUI thread at that moment, which may come a little late.
    static constexpr double latencySeconds = 0.060;
    // A lost or missing output is looked for again this often.
    static constexpr int reopenIntervalMs = 2000;

    SdlBeatSoundEngine();
    ~SdlBeatSoundEngine() override;

    bool play(const QString &path, double dueMonotonicSeconds) override;
    void stop() override;
    void prepare() override;
    void setSchedule(const BeatSchedule &schedule) override;
    bool setBeatSounds(const QString &plainPath, const QString &accentPath) override;
    double soundingOffsetSeconds() override;
    // A click goes into the buffer rendered at its due time and sounds as that buffer plays.
    double outputLatencySeconds() override { return double(bufferFrames) / sampleRate; }
    QStringList outputDevices() override;
    void setOutputDevice(const QString &name) override;
    bool takeFallbackNotice() override;
    std::vector<PlacedClick> takePlacedClicks() override;
    QString takeSoundProblem() override;
    // How many times a file was decoded: a file that failed is not read again until it changes.
    int decodeCount() const { return decodeCount_; }

    bool isOpen() const { return device_ != 0; }
    // Closes a device that went away and tries to open one again; run by a timer while the
    // output is wanted, so a device that vanishes comes back without a restart.
    void checkDevice();

private:
    struct Command {
        enum Kind { Play, Stop, SetSounds } kind = Play;
        const ClickSound *sound = nullptr;
        const ClickSound *accent = nullptr;  // SetSounds
        double dueSeconds = 0.0;
        uint64_t sequence = 0;
    };
    // Everything the audio callback touches; made new with each opened device.
    struct Stream {
        explicit Stream(double rate, int channelCount) : clock(rate), mixer(channelCount), placer(rate) {}
        SpscRing<Command, 64> commands;
        LatestValue<BeatSchedule> schedules;
        LatestValue<BeatPlacer::Placed> placed;
        struct ClickAt {
            double seconds;
            const ClickSound *sound;
        };
        SpscRing<ClickAt, 64> placedClicks;
        StreamClock clock;
        ClickMixer mixer;
        BeatPlacer placer;
        int channelCount = channels;
        int64_t framesRendered = 0;
        uint64_t lastConsumed = 0;
        bool priorityAsked = false;
        // Whether the audio thread runs at a real-time priority (for the figures).
        std::atomic<bool> realtime{false};
        std::atomic<uint64_t> oldestInUse{ClickMixer::noSequence};
    };
    // A file's sound, or why it has none, for as long as the file stays as it was.
    struct CachedSound {
        qint64 modified = 0;
        qint64 size = 0;
        std::shared_ptr<ClickSound> sound;
        QString problem;
        bool told = false;
    };

    static void audioCallback(void *userdata, unsigned char *stream, int length);
    bool startSdlAudio();
    bool open();
    // Opens the named output (nullptr: the default); 0 when it would not open.
    unsigned openDevice(const char *name, Stream &stream);
    void close();
    std::shared_ptr<ClickSound> soundFor(const QString &path);
    bool send(const Command &command);
    void releaseFinished();
    // Hands the beat sounds and the schedule to a newly opened stream.
    void handOverBeats();

    bool sdlReady_ = false;
    unsigned device_ = 0;
    std::unique_ptr<Stream> stream_;
    double lastOpenAttempt_ = -1e9;
    QTimer deviceTimer_;
    QHash<QString, CachedSound> cache_;
    int decodeCount_ = 0;
    // Sounds handed to the audio thread, kept alive until it has let go of them.
    std::deque<std::pair<uint64_t, std::shared_ptr<ClickSound>>> inFlight_;
    uint64_t nextSequence_ = 1;
    // What the beats are, kept for a stream opened later.
    BeatSchedule schedule_;
    std::shared_ptr<ClickSound> plainBeat_;
    std::shared_ptr<ClickSound> accentBeat_;
    double soundingOffset_ = 0.0;
    QString outputDevice_;
    bool fallbackNotice_ = false;
};

// Seconds on the monotonic clock the audio callback reads (the same clock as clock()'s).
double steadySeconds();

} // namespace pulsivar
