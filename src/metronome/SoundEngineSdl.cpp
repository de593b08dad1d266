// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/SoundEngineSdl.h"

#include "common/BuildConfig.h"
#include "metronome/RealtimeThread.h"
#include "SdlAudioStart.h"

#include <QFileInfo>
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

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
// No file larger can decode to at most maxWaveDataBytes (compressed samples only grow); such a
// file is refused before it is read.
constexpr qint64 maxWaveFileBytes = maxWaveDataBytes + 1024 * 1024;
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
    if (!stream.priorityAsked) {
        stream.priorityAsked = true;
        stream.realtime = raiseToRealtime();
    }
    const int frames = length / int(sizeof(float) * std::size_t(stream.channelCount));
    stream.clock.update(stream.framesRendered, steadySeconds());
    while (const auto command = stream.commands.pop()) {
        switch (command->kind) {
        case Command::Stop:
            stream.mixer.stop();
            break;
        case Command::SetSounds:
            stream.placer.setSounds(command->sound, command->accent, command->sequence);
            break;
        case Command::Play:
            stream.mixer.schedule(command->sound,
                                  clickStartFrame(stream.clock, command->dueSeconds, latencySeconds),
                                  command->sequence);
            break;
        }
        stream.lastConsumed = command->sequence;
    }
    BeatSchedule schedule;
    if (stream.schedules.take(schedule))
        stream.placer.adopt(schedule, stream.framesRendered, stream.clock, stream.mixer);
    const int64_t placedBefore = stream.placer.lastPlaced().index;
    stream.placer.place(stream.framesRendered, frames, stream.clock, stream.mixer);
    if (stream.placer.lastPlaced().index != placedBefore)
        stream.placed.publish(stream.placer.lastPlaced());
    for (int i = 0; i < stream.placer.placedClickCount(); ++i) {
        const BeatPlacer::Click &click = stream.placer.placedClicks()[size_t(i)];
        // A full ring (nobody reading) drops the newest: nothing waits on the audio thread.
        stream.placedClicks.push({click.soundsSeconds, click.sound});
    }
    stream.mixer.render(reinterpret_cast<float *>(bytes), frames, stream.framesRendered);
    stream.framesRendered += frames;
    const uint64_t inUse = std::min({stream.mixer.oldestSequenceInUse(), stream.lastConsumed + 1,
                                     stream.placer.soundsSequence()});
    stream.oldestInUse.store(inUse, std::memory_order_release);
}

bool SdlBeatSoundEngine::startSdlAudio()
{
    if (sdlReady_)
        return true;
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, build::programName);
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Beat sound");
    // The audio thread runs at real-time priority where the system grants it (directly or
    // through rtkit), so a busy machine does not starve it into underruns.
    SDL_SetHint(SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL, "1");
    // Shared with tempo detection, which lists the outputs' monitors as inputs: the hint only
    // counts when it is set before SDL's audio first starts.
    SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
    if (!audio::startSdlAudio())
        return false;
    sdlReady_ = true;
    return true;
}

unsigned SdlBeatSoundEngine::openDevice(const char *name, Stream &stream)
{
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = channels;
    wanted.samples = bufferFrames;
    wanted.callback = &SdlBeatSoundEngine::audioCallback;
    wanted.userdata = &stream;
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts to the device's format, and the callback always sees
    // the format the clicks were decoded for.
    return SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
}

bool SdlBeatSoundEngine::open()
{
    lastOpenAttempt_ = steadySeconds();
    if (!startSdlAudio())
        return false;
    auto stream = std::make_unique<Stream>(double(sampleRate), channels);
    const QByteArray wantedName = outputDevice_.toUtf8();
    SDL_AudioDeviceID device = openDevice(outputDevice_.isEmpty() ? nullptr : wantedName.constData(), *stream);
    if (device == 0 && !outputDevice_.isEmpty()) {
        // The chosen output is gone (unplugged headphones): the default one plays, and the user hears why.
        device = openDevice(nullptr, *stream);
        if (device != 0)
            fallbackNotice_ = true;
    }
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
    handOverBeats();
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

QStringList SdlBeatSoundEngine::outputDevices()
{
    QStringList names;
    if (!startSdlAudio())
        return names;
    const int count = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i) {
        if (const char *name = SDL_GetAudioDeviceName(i, 0))
            names << QString::fromUtf8(name);
    }
    return names;
}

void SdlBeatSoundEngine::setOutputDevice(const QString &name)
{
    if (name == outputDevice_)
        return;
    outputDevice_ = name;
    fallbackNotice_ = false;
    // The stream moves at once when it plays; otherwise the next one opens there.
    if (device_ != 0) {
        close();
        open();
    }
}

bool SdlBeatSoundEngine::takeFallbackNotice()
{
    return std::exchange(fallbackNotice_, false);
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
    if (!info.exists()) {
        cache_.remove(path);
        return nullptr;
    }
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const auto found = cache_.constFind(path);
    if (found != cache_.constEnd() && found->modified == modified && found->size == info.size())
        return found->sound;
    CachedSound entry{modified, info.size(), nullptr, {}, false};
    if (info.size() > maxWaveFileBytes) {
        entry.problem = QStringLiteral("%1 is larger than %2 MB, too large for a click: no click plays.")
                            .arg(info.fileName())
                            .arg(maxWaveFileBytes / (1024 * 1024));
    } else {
        ++decodeCount_;
        entry.sound = decodeWaveFile(path, sampleRate);
        if (!entry.sound)
            entry.problem = QStringLiteral("%1 is not a wave file Pulsivar can play: no click plays.").arg(info.fileName());
    }
    cache_.insert(path, entry);
    return entry.sound;
}

QString SdlBeatSoundEngine::takeSoundProblem()
{
    for (CachedSound &entry : cache_)
        if (!entry.problem.isEmpty() && !entry.told) {
            entry.told = true;
            return entry.problem;
        }
    return {};
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
    if (!send({Command::Play, sound.get(), nullptr, due, sequence}))
        return false;
    inFlight_.emplace_back(sequence, sound);
    return true;
}

void SdlBeatSoundEngine::stop()
{
    if (stream_)
        send({Command::Stop, nullptr, nullptr, 0.0, nextSequence_++});
}

void SdlBeatSoundEngine::handOverBeats()
{
    if (!stream_)
        return;
    if (plainBeat_ || accentBeat_) {
        const uint64_t sequence = nextSequence_++;
        if (send({Command::SetSounds, plainBeat_.get(), accentBeat_.get(), 0.0, sequence})) {
            inFlight_.emplace_back(sequence, plainBeat_);
            inFlight_.emplace_back(sequence, accentBeat_);
        }
    }
    stream_->schedules.publish(schedule_);
}

void SdlBeatSoundEngine::setSchedule(const BeatSchedule &schedule)
{
    schedule_ = schedule;
    // Nothing to hear, nothing to open.
    if (schedule.running && schedule.audible)
        prepare();
    if (stream_)
        stream_->schedules.publish(schedule_);
}

bool SdlBeatSoundEngine::setBeatSounds(const QString &plainPath, const QString &accentPath)
{
    prepare();
    auto plain = soundFor(plainPath);
    auto accent = soundFor(accentPath);
    if (plain != plainBeat_ || accent != accentBeat_) {
        plainBeat_ = plain;
        accentBeat_ = accent;
        if (stream_) {
            releaseFinished();
            const uint64_t sequence = nextSequence_++;
            if (send({Command::SetSounds, plainBeat_.get(), accentBeat_.get(), 0.0, sequence})) {
                inFlight_.emplace_back(sequence, plainBeat_);
                inFlight_.emplace_back(sequence, accentBeat_);
            }
        }
    }
    return plain && accent;
}

std::vector<PlacedClick> SdlBeatSoundEngine::takePlacedClicks()
{
    std::vector<PlacedClick> clicks;
    if (!stream_)
        return clicks;
    while (const auto click = stream_->placedClicks.pop()) {
        // The engine's own reference keeps the sound alive; lend the reader one of its own.
        std::shared_ptr<ClickSound> owner;
        if (plainBeat_.get() == click->sound)
            owner = plainBeat_;
        else if (accentBeat_.get() == click->sound)
            owner = accentBeat_;
        for (auto it = inFlight_.rbegin(); !owner && it != inFlight_.rend(); ++it)
            if (it->second.get() == click->sound)
                owner = it->second;
        if (owner)
            clicks.push_back({click->seconds, std::shared_ptr<const std::vector<float>>(owner, &owner->samples)});
    }
    return clicks;
}

double SdlBeatSoundEngine::soundingOffsetSeconds()
{
    BeatPlacer::Placed placed;
    if (stream_ && stream_->placed.take(placed))
        soundingOffset_ = placed.offsetSeconds;
    return soundingOffset_;
}

} // namespace pulsivar
