#pragma once
// The beat sound engine on an SDL2 audio output: each click is mixed into the stream at the
// frame where its beat was due, so neither a busy GUI thread nor the buffer size moves it.
#include "metronome/BeatSoundEngine.h"
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
    static constexpr int bufferFrames = 1024;
    // How long after its due time a click is placed: covers a GUI tick that comes late by a
    // 30 ms stall plus one buffer that may already be filled when it arrives.
    static constexpr double latencySeconds = 0.060;
    // A lost or missing output is looked for again this often.
    static constexpr int reopenIntervalMs = 2000;

    SdlBeatSoundEngine();
    ~SdlBeatSoundEngine() override;

    bool play(const QString &path, double dueMonotonicSeconds) override;
    void stop() override;
    void prepare() override;

    bool isOpen() const { return device_ != 0; }
    // Closes a device that went away and tries to open one again; run by a timer while the
    // output is wanted, so a device that vanishes comes back without a restart.
    void checkDevice();

private:
    struct Command {
        enum Kind { Play, Stop } kind = Play;
        const ClickSound *sound = nullptr;
        double dueSeconds = 0.0;
        uint64_t sequence = 0;
    };
    // Everything the audio callback touches; made new with each opened device.
    struct Stream {
        explicit Stream(double rate, int channelCount) : clock(rate), mixer(channelCount) {}
        SpscRing<Command, 64> commands;
        StreamClock clock;
        ClickMixer mixer;
        int channelCount = channels;
        int64_t framesRendered = 0;
        uint64_t lastConsumed = 0;
        std::atomic<uint64_t> oldestInUse{ClickMixer::noSequence};
    };
    struct CachedSound {
        qint64 modified = 0;
        qint64 size = 0;
        std::shared_ptr<ClickSound> sound;
    };

    static void audioCallback(void *userdata, unsigned char *stream, int length);
    bool open();
    void close();
    std::shared_ptr<ClickSound> soundFor(const QString &path);
    bool send(const Command &command);
    void releaseFinished();

    bool sdlReady_ = false;
    unsigned device_ = 0;
    std::unique_ptr<Stream> stream_;
    double lastOpenAttempt_ = -1e9;
    QTimer deviceTimer_;
    QHash<QString, CachedSound> cache_;
    // Sounds handed to the audio thread, kept alive until it has let go of them.
    std::deque<std::pair<uint64_t, std::shared_ptr<ClickSound>>> inFlight_;
    uint64_t nextSequence_ = 1;
};

// Seconds on the monotonic clock the audio callback reads (the same clock as clock()'s).
double steadySeconds();

} // namespace pulsivar
