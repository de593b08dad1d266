// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/BeatDetectorModule.h"

#include "common/ProgramFolder.h"

#include <QFileInfo>
#include <utility>

namespace pulsivar {

ModuleBeatDetector::ModuleBeatDetector(QString modulePath) : path(std::move(modulePath)) {}

bool ModuleBeatDetector::load()
{
    if (createFunction)
        return true;
    const QString file = path.isEmpty() ? programFile(QString::fromLatin1(fileName)) : path;
    // QLibrary would otherwise go looking for lib-prefixed or .so-suffixed variants elsewhere.
    if (!QFileInfo(file).isFile()) {
        error = QStringLiteral("The file %1 is missing").arg(file);
        return false;
    }
    library.setFileName(file);
    if (!library.load()) {
        error = library.errorString();
        return false;
    }
    auto create = reinterpret_cast<CreateFunction>(library.resolve("BPM_Create"));
    auto addSample = reinterpret_cast<AddSampleFunction>(library.resolve("BPM_AddSample"));
    auto getParameter = reinterpret_cast<GetParameterFunction>(library.resolve("BPM_getParameter"));
    auto destroy = reinterpret_cast<DestroyFunction>(library.resolve("BPM_Destroy"));
    if (!create || !addSample || !getParameter || !destroy) {
        error = QStringLiteral("A function of the beat detector is missing from %1").arg(file);
        return false;
    }
    createFunction = create;
    addSampleFunction = addSample;
    getParameterFunction = getParameter;
    destroyFunction = destroy;
    return true;
}

int32_t ModuleBeatDetector::create()
{
    if (!createFunction) {
        error = QStringLiteral("The beat detector is not loaded");
        return 0;
    }
    const int32_t handle = createFunction();
    if (handle == 0)
        error = QStringLiteral("The beat detector could not be created");
    return handle;
}

void ModuleBeatDetector::addSample(int32_t handle, float sample)
{
    if (addSampleFunction)
        addSampleFunction(handle, sample);
}

float ModuleBeatDetector::parameter(int32_t handle, int32_t index)
{
    return getParameterFunction ? getParameterFunction(handle, index) : 0.0f;
}

void ModuleBeatDetector::destroy(int32_t handle)
{
    if (destroyFunction)
        destroyFunction(handle);
}

} // namespace pulsivar
