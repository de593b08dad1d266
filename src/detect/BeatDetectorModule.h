#pragma once
// The beat detector backed by the bpmDetect.dll module in the program folder.
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
    using CreateFunction = int32_t (*)();
    using AddSampleFunction = void (*)(int32_t, float);
    using GetParameterFunction = float (*)(int32_t, int32_t);
    using DestroyFunction = void (*)(int32_t);

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
