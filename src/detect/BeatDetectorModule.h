// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The beat detector backed by the bpmDetect.dll module in the program folder.
#include "beatdetect/BeatDetectorApi.h"
#include "detect/BeatDetectorEngine.h"

#include <QLibrary>

namespace pulsivar {

class ModuleBeatDetector final : public BeatDetectorEngine {
public:
    static constexpr const char *fileName = "bpmDetect.dll";

    // An empty path means the module in the program folder.
    explicit ModuleBeatDetector(QString modulePath = {});

    bool load() override;
    int32_t create() override;
    void addSample(int32_t handle, float sample) override;
    float parameter(int32_t handle, int32_t index) override;
    void destroy(int32_t handle) override;
    QString lastError() const override { return error; }

private:
    // Typed by the module's own declarations, so a changed signature fails to compile here.
    using CreateFunction = decltype(&BPM_Create);
    using AddSampleFunction = decltype(&BPM_AddSample);
    using GetParameterFunction = decltype(&BPM_getParameter);
    using DestroyFunction = decltype(&BPM_Destroy);

    QString path;
    // Never unloaded: a detector may still be alive when this owner goes away at exit.
    QLibrary library;
    CreateFunction createFunction = nullptr;
    AddSampleFunction addSampleFunction = nullptr;
    GetParameterFunction getParameterFunction = nullptr;
    DestroyFunction destroyFunction = nullptr;
    QString error;
};

} // namespace pulsivar
