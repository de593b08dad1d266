// SPDX-License-Identifier: GPL-2.0-or-later
// The beat detector is fed whatever the capture device records. The input describes a stream
// as segments: raw floats of any finite value, silence, full-scale square waves, DC levels and
// 16-bit noise, the detector's parameters read between segments as the program polls them.
#include "BeatDetector.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

using pulsivar::beatdetect::BeatDetector;

namespace {
// One second of audio at most: enough for the tempo to be reported and beats to be tracked
// (the tempo is scored five times a second and must win four times), short enough for a run
// to cover many inputs.
constexpr long maxSamples = 44100;
constexpr long unit = 64; // samples a segment's length counts in

float finite(float value)
{
    if (std::isnan(value))
        return 0.0f;
    if (std::isinf(value))
        return value > 0 ? std::numeric_limits<float>::max() : std::numeric_limits<float>::lowest();
    return value;
}

void poll(const BeatDetector &detector)
{
    for (int index = -1; index <= 3; ++index) {
        const float value = detector.parameter(index);
        if (std::isnan(value))
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BeatDetector detector;
    if (!detector.valid())
        std::abort();
    long fed = 0;
    size_t pos = 0;
    auto feed = [&](float sample) {
        detector.addSample(sample);
        ++fed;
    };
    uint32_t noise = 1;
    while (pos + 3 <= size && fed < maxSamples) {
        const uint8_t kind = data[pos] % 6;
        const long units = 1 + data[pos + 1];
        const uint8_t param = data[pos + 2];
        pos += 3;
        const long count = std::min(units * unit, maxSamples - fed);
        switch (kind) {
        case 0: { // raw floats: the next bytes, four to a sample
            const size_t floats = std::min<size_t>(size_t(param) + 1, (size - pos) / 4);
            for (size_t i = 0; i < floats; ++i) {
                float sample;
                std::memcpy(&sample, data + pos + 4 * i, 4);
                feed(finite(sample));
            }
            pos += floats * 4;
            break;
        }
        case 1: // silence
            for (long i = 0; i < count; ++i)
                feed(0.0f);
            break;
        case 2: { // full-scale square wave, half period 1 to 256 samples
            const long half = long(param) + 1;
            for (long i = 0; i < count; ++i)
                feed((i / half) % 2 ? -32768.0f : 32767.0f);
            break;
        }
        case 3: // DC over the whole 16-bit range
            for (long i = 0; i < count; ++i)
                feed(float(int(param) * 257 - 32768));
            break;
        case 4: // a DC level beyond any 16-bit sample
            for (long i = 0; i < count; ++i)
                feed(param & 1 ? std::numeric_limits<float>::max() : std::numeric_limits<float>::lowest());
            break;
        case 5: // white noise at a chosen level
            for (long i = 0; i < count; ++i) {
                noise = noise * 1664525u + 1013904223u;
                feed(float(int16_t(noise >> 16)) * float(param) / 255.0f);
            }
            break;
        }
        poll(detector);
    }
    poll(detector);
    return 0;
}
