// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/AudioInputModuleEngine.h"

#include <array>
#include <cstring>
#include <utility>

namespace pulsivar {

namespace {
constexpr int32_t softwareOutput = 6;
constexpr int32_t resamplerLinear = 2;
constexpr int32_t maxChannels = 32;
constexpr uint32_t userSoundMode = 0x448; // 2D, software, user-created
} // namespace

ModuleAudioInputEngine::ModuleAudioInputEngine(QString modulePath) : path(std::move(modulePath)) {}

ModuleAudioInputEngine::~ModuleAudioInputEngine()
{
    // The module's audio thread writes into the sound; it must stop before this owner goes.
    closeSystem();
}

bool ModuleAudioInputEngine::fail(const QString &why)
{
    error = why;
    return false;
}

bool ModuleAudioInputEngine::succeeded(int32_t result)
{
    if (result == FMOD_OK)
        return true;
    return fail(QString::fromUtf8(library.FMOD_ErrorString(result)));
}

bool ModuleAudioInputEngine::load()
{
    const bool ok = path.isEmpty() ? library.load() : library.load(path);
    return ok || fail(library.errorString());
}

bool ModuleAudioInputEngine::createSystem()
{
    if (!library.isLoaded())
        return fail(QStringLiteral("The audio input engine is not loaded"));
    if (system != 0)
        return true;
    int32_t created = 0;
    if (!succeeded(library.FMOD_System_Create(&created)))
        return false;
    system = created;
    return succeeded(library.FMOD_System_SetSoftwareFormat(system, sampleRate,
                                                           FMOD_SOUND_FORMAT_PCM16, channels,
                                                           channels, resamplerLinear))
        && succeeded(library.FMOD_System_SetOutput(system, softwareOutput));
}

std::optional<int> ModuleAudioInputEngine::recordDriverCount()
{
    if (system == 0) {
        fail(QStringLiteral("There is no audio system"));
        return std::nullopt;
    }
    int32_t count = 0;
    if (!succeeded(library.FMOD_System_GetRecordNumDrivers(system, &count)))
        return std::nullopt;
    return count;
}

std::optional<QString> ModuleAudioInputEngine::recordDriverName(int index)
{
    if (system == 0) {
        fail(QStringLiteral("There is no audio system"));
        return std::nullopt;
    }
    std::array<char, FMOD_RECORD_DRIVER_NAME_BYTES> name{};
    if (!succeeded(library.FMOD_System_GetRecordDriverName(system, index, name.data(),
                                                           static_cast<int32_t>(name.size()))))
        return std::nullopt;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(strnlen(name.data(), name.size())));
}

bool ModuleAudioInputEngine::initSystem()
{
    if (system == 0)
        return fail(QStringLiteral("There is no audio system"));
    return succeeded(library.FMOD_System_Init(system, maxChannels, 0, nullptr));
}

bool ModuleAudioInputEngine::setRecordDriver(int index)
{
    if (system == 0)
        return fail(QStringLiteral("There is no audio system"));
    return succeeded(library.FMOD_System_SetRecordDriver(system, index));
}

bool ModuleAudioInputEngine::createRecordingSound()
{
    if (system == 0)
        return fail(QStringLiteral("There is no audio system"));
    releaseSound();
    FMOD_CREATESOUNDEXINFO info{};
    info.cbsize = sizeof info;
    info.length = bufferBytes;
    info.numchannels = channels;
    info.defaultfrequency = sampleRate;
    info.format = FMOD_SOUND_FORMAT_PCM16;
    int32_t created = 0;
    if (!succeeded(library.FMOD_System_CreateSound(system, nullptr, userSoundMode, &info, &created)))
        return false;
    sound = created;
    return true;
}

bool ModuleAudioInputEngine::startRecording()
{
    if (system == 0 || sound == 0)
        return fail(QStringLiteral("There is no sound to record into"));
    return succeeded(library.FMOD_System_RecordStart(system, sound, 1));
}

std::optional<quint32> ModuleAudioInputEngine::soundLengthFrames()
{
    if (sound == 0) {
        fail(QStringLiteral("There is no sound"));
        return std::nullopt;
    }
    uint32_t length = 0;
    if (!succeeded(library.FMOD_Sound_GetLength(sound, &length, FMOD_TIMEUNIT_PCM)))
        return std::nullopt;
    return length;
}

std::optional<quint32> ModuleAudioInputEngine::recordPosition()
{
    if (system == 0) {
        fail(QStringLiteral("There is no audio system"));
        return std::nullopt;
    }
    uint32_t position = 0;
    if (!succeeded(library.FMOD_System_GetRecordPosition(system, &position)))
        return std::nullopt;
    return position;
}

std::optional<quint64> ModuleAudioInputEngine::recordedFrames()
{
    if (system == 0 || !library.FMOD_System_GetRecordFrames)
        return std::nullopt;
    uint64_t frames = 0;
    if (!succeeded(library.FMOD_System_GetRecordFrames(system, &frames)))
        return std::nullopt;
    return frames;
}

bool ModuleAudioInputEngine::readFrames(quint32 startFrame, quint32 frameCount,
                                        std::vector<qint16> &samples)
{
    samples.clear();
    if (sound == 0)
        return fail(QStringLiteral("There is no sound"));
    if (startFrame >= bufferFrames || frameCount > bufferFrames)
        return fail(QStringLiteral("The block lies outside the recording buffer"));
    void *first = nullptr;
    void *second = nullptr;
    uint32_t firstBytes = 0;
    uint32_t secondBytes = 0;
    if (!succeeded(library.FMOD_Sound_Lock(sound, startFrame * bytesPerFrame,
                                           frameCount * bytesPerFrame, &first, &second,
                                           &firstBytes, &secondBytes)))
        return false;
    // Both regions, in order: the part after the wrap is the newest audio of the block.
    samples.resize((firstBytes + secondBytes) / sizeof(qint16));
    auto *target = reinterpret_cast<char *>(samples.data());
    if (first && firstBytes > 0)
        std::memcpy(target, first, firstBytes);
    if (second && secondBytes > 0)
        std::memcpy(target + firstBytes, second, secondBytes);
    return succeeded(library.FMOD_Sound_Unlock(sound, first, second, firstBytes, secondBytes));
}

bool ModuleAudioInputEngine::update()
{
    if (system == 0)
        return fail(QStringLiteral("There is no audio system"));
    return succeeded(library.FMOD_System_Update(system));
}

bool ModuleAudioInputEngine::stopRecording()
{
    if (system == 0)
        return true;
    return succeeded(library.FMOD_System_RecordStop(system));
}

bool ModuleAudioInputEngine::releaseSound()
{
    if (sound == 0)
        return true;
    const qint32 released = std::exchange(sound, 0);
    return succeeded(library.FMOD_Sound_Release(released));
}

bool ModuleAudioInputEngine::closeSystem()
{
    if (system == 0)
        return true;
    // Releasing the system frees its sounds too.
    sound = 0;
    const qint32 released = std::exchange(system, 0);
    const bool closed = succeeded(library.FMOD_System_Close(released));
    return succeeded(library.FMOD_System_Release(released)) && closed;
}

} // namespace pulsivar
