// SPDX-License-Identifier: GPL-2.0-or-later
// The exported C functions of fmodex.dll: recording from an input device into a looping sound,
// over SDL2 audio capture.
#define PULSIVAR_AUDIOINPUT_BUILDING_MODULE
#include "audioinput/AudioInputApi.h"

#include "HandleTable.h"
#include "RecordingSound.h"
#include "RingRegion.h"
#include "SdlAudioStart.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using pulsivar::modules::HandleTable;
using pulsivar::audioinput::RecordingSound;
using pulsivar::audioinput::splitRing;

namespace {

// Two seconds of 16-bit stereo at 44.1 kHz is 352,800 bytes; allow far longer, not absurd sizes.
constexpr std::uint32_t maxSoundBytes = 64u * 1024u * 1024u;
// About 12 ms a callback at 44.1 kHz: the sync to the music times each captured frame by when
// its block arrived, so small blocks keep that time tight (46 ms blocks put the click 12 ms early).
constexpr Uint16 captureBufferFrames = 512;

struct AudioSystem {
    bool initialised = false;
    bool holdsSdlAudio = false;
    int sampleRate = 44100;
    std::vector<std::string> drivers;
    bool driversListed = false;
    int recordDriver = 0;
    SDL_AudioDeviceID device = 0;
    std::shared_ptr<RecordingSound> recording;
    bool deviceLost = false;
};

struct Registry {
    std::mutex mutex;
    HandleTable<AudioSystem> systems{0};
    HandleTable<RecordingSound> sounds{1};
};

// Never destroyed: a process may unload the module or exit while another thread still calls in.
Registry &registry()
{
    static Registry *instance = new Registry;
    return *instance;
}

bool acquireSdlAudio()
{
    // Monitor sources are how a Linux desktop offers "what is playing" as an input; the hint
    // must be in place before the audio subsystem first starts.
    SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
    // SDL counts subsystem starts, so the output engine sharing this process keeps its audio.
    return pulsivar::audio::startSdlAudio();
}

void releaseSdlAudio(AudioSystem &system)
{
    if (system.holdsSdlAudio) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        system.holdsSdlAudio = false;
    }
}

void listDrivers(AudioSystem &system)
{
    system.drivers.clear();
    const int count = SDL_GetNumAudioDevices(1);
    for (int i = 0; i < count; ++i) {
        const char *name = SDL_GetAudioDeviceName(i, 1);
        system.drivers.emplace_back(name ? name : "");
    }
    system.driversListed = true;
}

void ensureDriversListed(AudioSystem &system)
{
    if (!system.driversListed)
        listDrivers(system);
}

void SDLCALL captureCallback(void *userdata, Uint8 *stream, int len)
{
    auto *sound = static_cast<RecordingSound *>(userdata);
    // After a device is lost SDL goes on calling with silence to keep time; recording that
    // would hide the loss behind a position that still advances.
    const SDL_AudioDeviceID device = sound->device.load(std::memory_order_acquire);
    if (len <= 0 || device == 0 || SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED)
        return;
    sound->write(stream, static_cast<std::uint32_t>(len));
}

// The device's thread has ended once SDL_CloseAudioDevice returns, so the sound may go after it.
void stopRecording(AudioSystem &system)
{
    if (system.device != 0) {
        SDL_CloseAudioDevice(system.device);
        system.device = 0;
    }
    if (system.recording)
        system.recording->device.store(0, std::memory_order_release);
    system.recording.reset();
    system.deviceLost = false;
}

// SDL marks an opened device stopped when the platform reports it gone (unplugged, a sink
// unloaded); from then on no audio arrives, so the caller must hear about it.
bool checkDeviceLost(AudioSystem &system)
{
    if (system.device != 0 && !system.deviceLost
        && SDL_GetAudioDeviceStatus(system.device) == SDL_AUDIO_STOPPED)
        system.deviceLost = true;
    return system.deviceLost;
}

void closeSystem(AudioSystem &system)
{
    stopRecording(system);
    system.initialised = false;
}

std::shared_ptr<AudioSystem> findSystem(std::int32_t handle)
{
    return registry().systems.find(handle);
}

// Runs an operation on the system behind a handle, under the registry's lock.
template <typename Operation>
int32_t withSystem(std::int32_t handle, Operation operation)
{
    std::lock_guard lock(registry().mutex);
    const auto found = findSystem(handle);
    return found ? operation(*found) : FMOD_ERR_INVALID_HANDLE;
}

template <typename Operation>
int32_t withSound(std::int32_t handle, Operation operation)
{
    std::lock_guard lock(registry().mutex);
    const auto found = registry().sounds.find(handle);
    return found ? operation(*found) : FMOD_ERR_INVALID_HANDLE;
}

} // namespace

extern "C" {

int32_t FMOD_System_Create(int32_t *system)
{
    if (!system)
        return FMOD_ERR_INVALID_PARAM;
    *system = 0;
    std::lock_guard lock(registry().mutex);
    auto created = std::make_shared<AudioSystem>();
    const std::int32_t handle = registry().systems.add(created);
    if (handle == 0)
        return FMOD_ERR_MEMORY;
    if (!acquireSdlAudio()) {
        registry().systems.remove(handle);
        return FMOD_ERR_AUDIO_SYSTEM;
    }
    created->holdsSdlAudio = true;
    *system = handle;
    return FMOD_OK;
}

int32_t FMOD_System_SetSoftwareFormat(int32_t system, int32_t samplerate, int32_t format,
                                      int32_t numoutputchannels, int32_t maxinputchannels,
                                      int32_t resamplemethod)
{
    return withSystem(system, [&](AudioSystem &audio) {
        if (audio.initialised)
            return FMOD_ERR_INITIALIZED;
        if (format != FMOD_SOUND_FORMAT_PCM16)
            return FMOD_ERR_FORMAT;
        if (samplerate < 8000 || samplerate > 192000 || numoutputchannels < 0 || maxinputchannels < 0)
            return FMOD_ERR_INVALID_PARAM;
        audio.sampleRate = samplerate;
        return FMOD_OK;
    });
}

int32_t FMOD_System_SetOutput(int32_t system, int32_t output)
{
    // Output belongs to the program's own output engine; the choice is accepted and has no effect.
    return withSystem(system, [&](AudioSystem &audio) {
        return audio.initialised ? FMOD_ERR_INITIALIZED : FMOD_OK;
    });
}

int32_t FMOD_System_GetRecordNumDrivers(int32_t system, int32_t *numdrivers)
{
    if (!numdrivers)
        return FMOD_ERR_INVALID_PARAM;
    *numdrivers = 0;
    return withSystem(system, [&](AudioSystem &audio) {
        // Asking for the count is when a caller starts walking the list, so take a fresh snapshot
        // that the names and indices refer to.
        listDrivers(audio);
        *numdrivers = static_cast<int32_t>(audio.drivers.size());
        return FMOD_OK;
    });
}

int32_t FMOD_System_GetRecordDriverName(int32_t system, int32_t id, char *name, int32_t namelen)
{
    if (!name || namelen <= 0)
        return FMOD_ERR_INVALID_PARAM;
    name[0] = '\0';
    return withSystem(system, [&](AudioSystem &audio) {
        ensureDriversListed(audio);
        if (id < 0 || static_cast<std::size_t>(id) >= audio.drivers.size())
            return FMOD_ERR_INVALID_PARAM;
        const std::string &text = audio.drivers[static_cast<std::size_t>(id)];
        const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(namelen - 1));
        std::memcpy(name, text.data(), copied);
        name[copied] = '\0';
        return FMOD_OK;
    });
}

int32_t FMOD_System_Init(int32_t system, int32_t maxchannels, uint32_t flags, void *extradriverdata)
{
    return withSystem(system, [&](AudioSystem &audio) {
        if (audio.initialised)
            return FMOD_ERR_INITIALIZED;
        if (maxchannels < 0)
            return FMOD_ERR_INVALID_PARAM;
        audio.initialised = true;
        return FMOD_OK;
    });
}

int32_t FMOD_System_SetRecordDriver(int32_t system, int32_t driver)
{
    return withSystem(system, [&](AudioSystem &audio) {
        if (driver < 0)
            return FMOD_ERR_INVALID_PARAM;
        ensureDriversListed(audio);
        if (static_cast<std::size_t>(driver) >= audio.drivers.size())
            return FMOD_ERR_RECORD_DRIVER;
        audio.recordDriver = driver;
        return FMOD_OK;
    });
}

int32_t FMOD_System_CreateSound(int32_t system, const char *name_or_data, uint32_t mode,
                                FMOD_CREATESOUNDEXINFO *exinfo, int32_t *sound)
{
    if (!sound)
        return FMOD_ERR_INVALID_PARAM;
    *sound = 0;
    return withSystem(system, [&](AudioSystem &audio) {
        if (!audio.initialised)
            return FMOD_ERR_UNINITIALIZED;
        // Only empty sounds to record into: there is no file or stream decoding here.
        if (!(mode & FMOD_OPENUSER))
            return FMOD_ERR_FORMAT;
        constexpr auto neededBytes = static_cast<int32_t>(offsetof(FMOD_CREATESOUNDEXINFO, format)
                                                          + sizeof(int32_t));
        if (!exinfo || exinfo->cbsize < neededBytes)
            return FMOD_ERR_INVALID_PARAM;
        if (exinfo->format != FMOD_SOUND_FORMAT_PCM16)
            return FMOD_ERR_FORMAT;
        if (exinfo->numchannels < 1 || exinfo->numchannels > 2)
            return FMOD_ERR_FORMAT;
        const int rate = exinfo->defaultfrequency > 0 ? exinfo->defaultfrequency : audio.sampleRate;
        if (rate < 8000 || rate > 192000)
            return FMOD_ERR_INVALID_PARAM;
        const std::uint32_t frameBytes = static_cast<std::uint32_t>(exinfo->numchannels) * 2u;
        const std::uint32_t frames = exinfo->length / frameBytes;
        if (frames == 0)
            return FMOD_ERR_INVALID_PARAM;
        if (exinfo->length > maxSoundBytes)
            return FMOD_ERR_MEMORY;
        std::shared_ptr<RecordingSound> created;
        try {
            created = std::make_shared<RecordingSound>(system, frames, exinfo->numchannels, rate);
        } catch (const std::bad_alloc &) {
            return FMOD_ERR_MEMORY;
        }
        const std::int32_t handle = registry().sounds.add(std::move(created));
        if (handle == 0)
            return FMOD_ERR_MEMORY;
        *sound = handle;
        return FMOD_OK;
    });
}

int32_t FMOD_System_RecordStart(int32_t system, int32_t sound, int32_t loop)
{
    std::lock_guard lock(registry().mutex);
    auto found = findSystem(system);
    auto target = registry().sounds.find(sound);
    if (!found || !target || target->owner != system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!found->initialised)
        return FMOD_ERR_UNINITIALIZED;
    stopRecording(*found);
    ensureDriversListed(*found);
    if (static_cast<std::size_t>(found->recordDriver) >= found->drivers.size())
        return FMOD_ERR_RECORD_DRIVER;

    target->restart(loop != 0);
    SDL_AudioSpec wanted{};
    wanted.freq = target->sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(target->channels);
    wanted.samples = captureBufferFrames;
    wanted.callback = captureCallback;
    wanted.userdata = target.get();
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts whatever the device delivers into the sound's format.
    const std::string &name = found->drivers[static_cast<std::size_t>(found->recordDriver)];
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(name.c_str(), 1, &wanted, &obtained, 0);
    if (device == 0)
        return FMOD_ERR_RECORD_DRIVER;
    found->device = device;
    found->recording = target;
    found->deviceLost = false;
    target->device.store(device, std::memory_order_release);
    SDL_PauseAudioDevice(device, 0);
    return FMOD_OK;
}

int32_t FMOD_System_RecordStop(int32_t system)
{
    return withSystem(system, [&](AudioSystem &audio) {
        stopRecording(audio);
        return FMOD_OK;
    });
}

int32_t FMOD_System_IsRecording(int32_t system, int32_t *recording)
{
    if (!recording)
        return FMOD_ERR_INVALID_PARAM;
    *recording = 0;
    return withSystem(system, [&](AudioSystem &audio) {
        if (checkDeviceLost(audio))
            return FMOD_ERR_RECORD_DISCONNECTED;
        *recording = audio.recording && !audio.recording->filled.load() ? 1 : 0;
        return FMOD_OK;
    });
}

int32_t FMOD_System_GetRecordPosition(int32_t system, uint32_t *position)
{
    if (!position)
        return FMOD_ERR_INVALID_PARAM;
    *position = 0;
    return withSystem(system, [&](AudioSystem &audio) {
        if (!audio.recording)
            return FMOD_OK;
        // The position is still the last one written, so a caller that ignores the code reads
        // a position that simply stops moving.
        *position = audio.recording->positionFrames();
        return checkDeviceLost(audio) ? FMOD_ERR_RECORD_DISCONNECTED : FMOD_OK;
    });
}

int32_t FMOD_System_GetRecordFrames(int32_t system, uint64_t *frames)
{
    if (!frames)
        return FMOD_ERR_INVALID_PARAM;
    *frames = 0;
    return withSystem(system, [&](AudioSystem &audio) {
        if (!audio.recording)
            return FMOD_OK;
        *frames = audio.recording->framesWritten.load(std::memory_order_acquire);
        return checkDeviceLost(audio) ? FMOD_ERR_RECORD_DISCONNECTED : FMOD_OK;
    });
}

int32_t FMOD_System_Update(int32_t system)
{
    return withSystem(system, [&](AudioSystem &audio) {
        return checkDeviceLost(audio) ? FMOD_ERR_RECORD_DISCONNECTED : FMOD_OK;
    });
}

int32_t FMOD_System_Close(int32_t system)
{
    return withSystem(system, [&](AudioSystem &audio) {
        closeSystem(audio);
        return FMOD_OK;
    });
}

int32_t FMOD_System_Release(int32_t system)
{
    std::lock_guard lock(registry().mutex);
    auto found = registry().systems.remove(system);
    if (!found)
        return FMOD_ERR_INVALID_HANDLE;
    closeSystem(*found);
    releaseSdlAudio(*found);
    std::vector<std::int32_t> owned;
    registry().sounds.forEach([&](std::int32_t handle, const std::shared_ptr<RecordingSound> &s) {
        if (s->owner == system)
            owned.push_back(handle);
    });
    for (std::int32_t handle : owned)
        registry().sounds.remove(handle);
    return FMOD_OK;
}

int32_t FMOD_Sound_GetLength(int32_t sound, uint32_t *length, uint32_t lengthtype)
{
    if (!length)
        return FMOD_ERR_INVALID_PARAM;
    *length = 0;
    return withSound(sound, [&](RecordingSound &recorded) {
        switch (lengthtype) {
        case FMOD_TIMEUNIT_PCM:
            *length = recorded.frames;
            return FMOD_OK;
        case FMOD_TIMEUNIT_PCMBYTES:
            *length = recorded.bytes;
            return FMOD_OK;
        case FMOD_TIMEUNIT_MS:
            *length = static_cast<uint32_t>(std::uint64_t{recorded.frames} * 1000u
                                            / static_cast<std::uint32_t>(recorded.sampleRate));
            return FMOD_OK;
        default:
            return FMOD_ERR_FORMAT;
        }
    });
}

int32_t FMOD_Sound_Lock(int32_t sound, uint32_t offset, uint32_t length, void **ptr1, void **ptr2,
                        uint32_t *len1, uint32_t *len2)
{
    if (!ptr1 || !len1)
        return FMOD_ERR_INVALID_PARAM;
    *ptr1 = nullptr;
    *len1 = 0;
    if (ptr2)
        *ptr2 = nullptr;
    if (len2)
        *len2 = 0;
    return withSound(sound, [&](RecordingSound &recorded) {
        const auto region = splitRing(recorded.bytes, offset, length);
        if (!region)
            return FMOD_ERR_INVALID_PARAM;
        // A caller that cannot take a second region must not be handed half of its range.
        if (region->length2 > 0 && (!ptr2 || !len2))
            return FMOD_ERR_INVALID_PARAM;
        *ptr1 = recorded.data.get() + region->offset1;
        *len1 = region->length1;
        if (region->length2 > 0) {
            *ptr2 = recorded.data.get();
            *len2 = region->length2;
        }
        return FMOD_OK;
    });
}

int32_t FMOD_Sound_Unlock(int32_t sound, void *ptr1, void *ptr2, uint32_t len1, uint32_t len2)
{
    return withSound(sound, [&](RecordingSound &recorded) {
        // Locking hands out views of the live buffer, so there is nothing to copy back; only check
        // that the regions are ones this sound could have handed out.
        const auto *begin = recorded.data.get();
        const auto *end = begin + recorded.bytes;
        const auto inside = [&](const void *p, uint32_t len) {
            if (!p)
                return len == 0;
            const auto *bytes = static_cast<const std::uint8_t *>(p);
            return bytes >= begin && bytes <= end && len <= static_cast<std::uint32_t>(end - bytes);
        };
        return inside(ptr1, len1) && inside(ptr2, len2) ? FMOD_OK : FMOD_ERR_INVALID_PARAM;
    });
}

int32_t FMOD_Sound_Release(int32_t sound)
{
    std::lock_guard lock(registry().mutex);
    auto found = registry().sounds.remove(sound);
    if (!found)
        return FMOD_ERR_INVALID_HANDLE;
    // A sound being recorded into stops the recording first, so the audio thread never writes
    // into freed memory.
    if (auto owner = findSystem(found->owner); owner && owner->recording == found)
        stopRecording(*owner);
    return FMOD_OK;
}

const char *FMOD_ErrorString(int32_t result)
{
    switch (result) {
    case FMOD_OK:
        return "No errors.";
    case FMOD_ERR_INVALID_HANDLE:
        return "An invalid object handle was used.";
    case FMOD_ERR_INVALID_PARAM:
        return "An invalid parameter was passed to this function.";
    case FMOD_ERR_UNINITIALIZED:
        return "The audio system has not been initialized.";
    case FMOD_ERR_INITIALIZED:
        return "The audio system has already been initialized.";
    case FMOD_ERR_RECORD_DRIVER:
        return "The recording device could not be opened.";
    case FMOD_ERR_RECORD_DISCONNECTED:
        return "The recording device was disconnected.";
    case FMOD_ERR_FORMAT:
        return "Unsupported sound format or mode.";
    case FMOD_ERR_MEMORY:
        return "Not enough memory or resources.";
    case FMOD_ERR_AUDIO_SYSTEM:
        return "The audio system could not be started.";
    default:
        return "Unknown error.";
    }
}

} // extern "C"
