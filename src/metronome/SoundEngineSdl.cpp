#include "metronome/SoundEngineSdl.h"

#include <QFileInfo>
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstring>

namespace pulsivar {

double steadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

namespace {
// About 24 seconds of 16-bit stereo at 44.1 kHz, and what converting it may need.
constexpr Uint32 maxWaveDataBytes = 4 * 1024 * 1024;
constexpr std::size_t maxWaveWorkBytes = 16 * 1024 * 1024;
} // namespace

std::shared_ptr<ClickSound> decodeWaveFile(const QString &path, int sampleRate)
{
    const QByteArray fileName = QFile::encodeName(path);
    SDL_AudioSpec spec;
    Uint8 *data = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromFile(fileName.constData(), "rb"), 1, &spec, &data, &length))
        return nullptr;
    // A file without a single sample is no sound; it would also leave nothing to copy into.
    if (length == 0) {
        SDL_FreeWAV(data);
        return nullptr;
    }
    SDL_AudioCVT cvt;
    const int built = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, 1, sampleRate);
    if (built < 0) {
        SDL_FreeWAV(data);
        return nullptr;
    }
    // A click lasts a fraction of a second. A file that decodes to far more (a few kilobytes of
    // ADPCM can claim tens of megabytes of samples, and a low rate multiplies them again when
    // converted) is no click, and converting it would take hundreds of megabytes.
    const std::size_t workBytes = std::size_t(length) * std::size_t(std::max(1, cvt.len_mult));
    if (length > maxWaveDataBytes || workBytes > maxWaveWorkBytes) {
        SDL_FreeWAV(data);
        return nullptr;
    }
    std::vector<Uint8> work(workBytes);
    std::memcpy(work.data(), data, length);
    SDL_FreeWAV(data);
    cvt.len = int(length);
    cvt.buf = work.data();
    if (built == 1 && SDL_ConvertAudio(&cvt) != 0)
        return nullptr;
    const std::size_t bytes = built == 1 ? std::size_t(cvt.len_cvt) : std::size_t(length);
    // Less than one sample after conversion is no sound either.
    if (bytes < sizeof(float))
        return nullptr;
    auto sound = std::make_shared<ClickSound>();
    sound->samples.resize(bytes / sizeof(float));
    std::memcpy(sound->samples.data(), work.data(), sound->samples.size() * sizeof(float));
    return sound;
}

SdlBeatSoundEngine::SdlBeatSoundEngine()
{
    deviceTimer_.setInterval(reopenIntervalMs);
    QObject::connect(&deviceTimer_, &QTimer::timeout, [this] { checkDevice(); });
}

SdlBeatSoundEngine::~SdlBeatSoundEngine()
{
    deviceTimer_.stop();
    close();
    if (sdlReady_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlBeatSoundEngine::audioCallback(void *userdata, unsigned char *bytes, int length)
{
    auto &stream = *static_cast<Stream *>(userdata);
    const int frames = length / int(sizeof(float) * std::size_t(stream.channelCount));
    stream.clock.update(stream.framesRendered, steadySeconds());
    while (const auto command = stream.commands.pop()) {
        if (command->kind == Command::Stop)
            stream.mixer.stop();
        else
            stream.mixer.schedule(command->sound,
                                  clickStartFrame(stream.clock, command->dueSeconds, latencySeconds),
                                  command->sequence);
        stream.lastConsumed = command->sequence;
    }
    stream.mixer.render(reinterpret_cast<float *>(bytes), frames, stream.framesRendered);
    stream.framesRendered += frames;
    stream.oldestInUse.store(std::min(stream.mixer.oldestSequenceInUse(), stream.lastConsumed + 1),
                             std::memory_order_release);
}

bool SdlBeatSoundEngine::open()
{
    lastOpenAttempt_ = steadySeconds();
    if (!sdlReady_) {
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Pulsivar");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Beat sound");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        sdlReady_ = true;
    }
    auto stream = std::make_unique<Stream>(double(sampleRate), channels);
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = channels;
    wanted.samples = bufferFrames;
    wanted.callback = &SdlBeatSoundEngine::audioCallback;
    wanted.userdata = stream.get();
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts to the device's format, and the callback always sees
    // the format the clicks were decoded for.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        // Without any output device SDL's audio stays up and the open is simply tried again:
        // starting SDL's PulseAudio driver while the server has no sink at all crashes inside
        // SDL 2.26 (it copies the missing default sink's name). Only a driver whose connection
        // to the server is gone (a restarted server) is started afresh.
        if (std::strstr(SDL_GetError(), "Could not set up PulseAudio stream") != nullptr) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            sdlReady_ = false;
        }
        return false;
    }
    device_ = device;
    stream_ = std::move(stream);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlBeatSoundEngine::close()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);  // joins the audio thread
    device_ = 0;
    stream_.reset();
    inFlight_.clear();
}

void SdlBeatSoundEngine::checkDevice()
{
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED)
        close();
    if (device_ == 0 && steadySeconds() - lastOpenAttempt_ >= reopenIntervalMs / 1000.0 - 0.05)
        open();
}

void SdlBeatSoundEngine::prepare()
{
    if (!deviceTimer_.isActive())
        deviceTimer_.start();
    if (device_ == 0 && lastOpenAttempt_ < -1e8)
        open();
    else
        checkDevice();
}

std::shared_ptr<ClickSound> SdlBeatSoundEngine::soundFor(const QString &path)
{
    const QFileInfo info(path);
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const auto found = cache_.constFind(path);
    if (found != cache_.constEnd() && found->modified == modified && found->size == info.size())
        return found->sound;
    auto sound = decodeWaveFile(path, sampleRate);
    if (sound)
        cache_.insert(path, {modified, info.size(), sound});
    else
        cache_.remove(path);
    return sound;
}

void SdlBeatSoundEngine::releaseFinished()
{
    if (!stream_)
        return;
    const uint64_t oldest = stream_->oldestInUse.load(std::memory_order_acquire);
    while (!inFlight_.empty() && inFlight_.front().first < oldest)
        inFlight_.pop_front();
}

bool SdlBeatSoundEngine::send(const Command &command)
{
    return stream_ && stream_->commands.push(command);
}

bool SdlBeatSoundEngine::play(const QString &path, double dueMonotonicSeconds)
{
    prepare();
    if (!stream_)
        return false;
    releaseFinished();
    const auto sound = soundFor(path);
    if (!sound)
        return false;
    // A due time far from now is not on this clock (a test clock, a suspended machine): play now.
    const double now = steadySeconds();
    double due = dueMonotonicSeconds;
    if (due < now - 1.0 || due > now + 10.0)
        due = now;
    const uint64_t sequence = nextSequence_++;
    if (!send({Command::Play, sound.get(), due, sequence}))
        return false;
    inFlight_.emplace_back(sequence, sound);
    return true;
}

void SdlBeatSoundEngine::stop()
{
    if (stream_)
        send({Command::Stop, nullptr, 0.0, nextSequence_++});
}

} // namespace pulsivar
