// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/AudioInputLibrary.h"

#include "common/ProgramFolder.h"

#include <QFileInfo>

namespace pulsivar {

bool AudioInputLibrary::load()
{
    return load(programFile(QString::fromLatin1(fileName)));
}

template <typename Function>
bool AudioInputLibrary::resolve(Function &target, const char *name)
{
    target = reinterpret_cast<Function>(library.resolve(name));
    if (!target && error.isEmpty())
        error = QStringLiteral("The function %1 is missing from %2")
                    .arg(QLatin1String(name), library.fileName());
    return target != nullptr;
}

bool AudioInputLibrary::load(const QString &path)
{
    if (loaded)
        return true;
    error.clear();
    // QLibrary would otherwise go looking for lib-prefixed or .so-suffixed variants elsewhere.
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("The file %1 is missing").arg(path);
        return false;
    }
    library.setFileName(path);
    if (!library.load()) {
        error = library.errorString();
        return false;
    }
    bool all = true;
    all &= resolve(FMOD_System_Create, "FMOD_System_Create");
    all &= resolve(FMOD_System_SetSoftwareFormat, "FMOD_System_SetSoftwareFormat");
    all &= resolve(FMOD_System_SetOutput, "FMOD_System_SetOutput");
    all &= resolve(FMOD_System_GetRecordNumDrivers, "FMOD_System_GetRecordNumDrivers");
    all &= resolve(FMOD_System_GetRecordDriverName, "FMOD_System_GetRecordDriverName");
    all &= resolve(FMOD_System_Init, "FMOD_System_Init");
    all &= resolve(FMOD_System_SetRecordDriver, "FMOD_System_SetRecordDriver");
    all &= resolve(FMOD_System_CreateSound, "FMOD_System_CreateSound");
    all &= resolve(FMOD_System_RecordStart, "FMOD_System_RecordStart");
    all &= resolve(FMOD_System_RecordStop, "FMOD_System_RecordStop");
    all &= resolve(FMOD_System_IsRecording, "FMOD_System_IsRecording");
    all &= resolve(FMOD_System_GetRecordPosition, "FMOD_System_GetRecordPosition");
    all &= resolve(FMOD_System_Update, "FMOD_System_Update");
    all &= resolve(FMOD_System_Close, "FMOD_System_Close");
    all &= resolve(FMOD_System_Release, "FMOD_System_Release");
    all &= resolve(FMOD_Sound_GetLength, "FMOD_Sound_GetLength");
    all &= resolve(FMOD_Sound_Lock, "FMOD_Sound_Lock");
    all &= resolve(FMOD_Sound_Unlock, "FMOD_Sound_Unlock");
    all &= resolve(FMOD_Sound_Release, "FMOD_Sound_Release");
    all &= resolve(FMOD_ErrorString, "FMOD_ErrorString");
    FMOD_System_GetRecordFrames = reinterpret_cast<decltype(FMOD_System_GetRecordFrames)>(
        library.resolve("FMOD_System_GetRecordFrames"));
    if (!all) {
        // A half-resolved module is not used at all, so no caller meets a null function.
        static_cast<AudioInputFunctions &>(*this) = AudioInputFunctions{};
        return false;
    }
    loaded = true;
    return true;
}

} // namespace pulsivar
