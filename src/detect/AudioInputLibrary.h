// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Loads the audio input engine module by its full path and resolves each of its C functions.
#include "audioinput/AudioInputApi.h"

#include <QLibrary>
#include <QString>

namespace pulsivar {

// Named as the module exports them, so a call reads like the module's own interface.
struct AudioInputFunctions {
    decltype(&::FMOD_System_Create) FMOD_System_Create = nullptr;
    decltype(&::FMOD_System_SetSoftwareFormat) FMOD_System_SetSoftwareFormat = nullptr;
    decltype(&::FMOD_System_SetOutput) FMOD_System_SetOutput = nullptr;
    decltype(&::FMOD_System_GetRecordNumDrivers) FMOD_System_GetRecordNumDrivers = nullptr;
    decltype(&::FMOD_System_GetRecordDriverName) FMOD_System_GetRecordDriverName = nullptr;
    decltype(&::FMOD_System_Init) FMOD_System_Init = nullptr;
    decltype(&::FMOD_System_SetRecordDriver) FMOD_System_SetRecordDriver = nullptr;
    decltype(&::FMOD_System_CreateSound) FMOD_System_CreateSound = nullptr;
    decltype(&::FMOD_System_RecordStart) FMOD_System_RecordStart = nullptr;
    decltype(&::FMOD_System_RecordStop) FMOD_System_RecordStop = nullptr;
    decltype(&::FMOD_System_IsRecording) FMOD_System_IsRecording = nullptr;
    decltype(&::FMOD_System_GetRecordPosition) FMOD_System_GetRecordPosition = nullptr;
    decltype(&::FMOD_System_Update) FMOD_System_Update = nullptr;
    // Null in a module from before it was added; the record position then stands alone.
    decltype(&::FMOD_System_GetRecordFrames) FMOD_System_GetRecordFrames = nullptr;
    decltype(&::FMOD_System_Close) FMOD_System_Close = nullptr;
    decltype(&::FMOD_System_Release) FMOD_System_Release = nullptr;
    decltype(&::FMOD_Sound_GetLength) FMOD_Sound_GetLength = nullptr;
    decltype(&::FMOD_Sound_Lock) FMOD_Sound_Lock = nullptr;
    decltype(&::FMOD_Sound_Unlock) FMOD_Sound_Unlock = nullptr;
    decltype(&::FMOD_Sound_Release) FMOD_Sound_Release = nullptr;
    decltype(&::FMOD_ErrorString) FMOD_ErrorString = nullptr;
};

class AudioInputLibrary : public AudioInputFunctions {
public:
    static constexpr const char *fileName = "fmodex.dll";

    // The module in the program folder. False, never an exception, when the file is missing,
    // does not load, or lacks any function; then every function pointer is null.
    bool load();
    bool load(const QString &path);
    bool isLoaded() const { return loaded; }
    QString errorString() const { return error; }

private:
    template <typename Function>
    bool resolve(Function &target, const char *name);

    // Never unloaded: the module's audio thread may outlive any one owner of this object.
    QLibrary library;
    bool loaded = false;
    QString error;
};

} // namespace pulsivar
