// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An in-memory beat detector: remembers every sample and reports the values a test sets.
#include "detect/BeatDetectorEngine.h"

#include <QSet>
#include <array>
#include <map>
#include <vector>

namespace pulsivar::test {

class FakeBeatDetector final : public BeatDetectorEngine {
public:
    bool loadFails = false;
    bool createFails = false;
    // The values parameter() reports, by index; a handle in valuesOf reports its own.
    std::array<float, 3> values{};
    std::map<int32_t, std::array<float, 3>> valuesOf;
    std::vector<float> samples;
    // The same samples, by the handle they went to.
    std::map<int32_t, std::vector<float>> samplesOf;
    QSet<int32_t> live;
    int created = 0;

    bool load() override { return !loadFails; }
    int32_t create() override
    {
        if (createFails)
            return 0;
        const int32_t handle = ++created;
        live.insert(handle);
        return handle;
    }
    void addSample(int32_t handle, float sample) override
    {
        if (live.contains(handle)) {
            samples.push_back(sample);
            samplesOf[handle].push_back(sample);
        }
    }
    float parameter(int32_t handle, int32_t index) override
    {
        if (!live.contains(handle) || index < 0 || index > 2)
            return 0;
        const auto own = valuesOf.find(handle);
        return (own != valuesOf.end() ? own->second : values)[std::size_t(index)];
    }
    void destroy(int32_t handle) override { live.remove(handle); }
    QString lastError() const override
    {
        return loadFails ? QStringLiteral("detector missing") : QStringLiteral("detector refused");
    }
};

} // namespace pulsivar::test
