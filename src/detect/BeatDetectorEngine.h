// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the capture loop needs of a beat detector: make one, feed it samples, read its values.
#include "beatdetect/BeatDetectorApi.h"

#include <QString>
#include <cstdint>

namespace pulsivar {

class BeatDetectorEngine {
public:
    // The values a detector reports.
    static constexpr int32_t tempoParameter = BPM_PARAMETER_TEMPO;
    static constexpr int32_t confidenceParameter = BPM_PARAMETER_CONFIDENCE;
    static constexpr int32_t beatMarkerParameter = BPM_PARAMETER_BEAT;

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
