#pragma once
// What the capture loop needs of a beat detector: make one, feed it samples, read its values.
#include <QString>
#include <cstdint>

namespace pulsivar {

class BeatDetectorEngine {
public:
    // The values a detector reports.
    static constexpr int32_t tempoParameter = 0;      // BPM, 0 until a tempo is found
    static constexpr int32_t confidenceParameter = 1; // x 3, capped at 100, is the percent shown
    static constexpr int32_t beatMarkerParameter = 2; // integer part grows by one at each beat

    virtual ~BeatDetectorEngine() = default;

    // Makes the engine usable; false when its module is missing or does not load.
    virtual bool load() = 0;
    // A new detector's handle; 0 when none could be made.
    virtual int32_t create() = 0;
    // One left-channel sample, -32768 to 32767, at 44,100 Hz.
    virtual void addSample(int32_t handle, float sample) = 0;
    virtual float parameter(int32_t handle, int32_t index) = 0;
    virtual void destroy(int32_t handle) = 0;
    virtual QString lastError() const = 0;
};

} // namespace pulsivar
