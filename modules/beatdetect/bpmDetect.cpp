// SPDX-License-Identifier: GPL-2.0-or-later
// The detector's C interface: handles of a table of live detectors, never pointers.
#define PULSIVAR_BEATDETECT_BUILDING_MODULE
#include "beatdetect/BeatDetectorApi.h"

#include "BeatDetector.h"
#include "HandleTable.h"

#include <memory>
#include <mutex>

using pulsivar::beatdetect::BeatDetector;
using pulsivar::modules::HandleTable;

namespace {
struct Detectors {
    std::mutex mutex;
    // Each detector holds a few megabytes; a caller that never destroys them runs out, not the machine.
    HandleTable<BeatDetector> table{0, 256};
};

// Never destroyed: a process may unload the module or exit while another thread still calls in.
Detectors &detectors()
{
    static Detectors *instance = new Detectors;
    return *instance;
}

// Runs fn on the live detector of a handle, under the lock; nothing for any other handle.
template <typename Fn>
void withDetector(int32_t handle, Fn &&fn)
{
    Detectors &all = detectors();
    std::lock_guard lock(all.mutex);
    if (BeatDetector *detector = all.table.get(handle))
        fn(*detector);
}
} // namespace

int32_t BPM_Create(void)
{
    try {
        auto detector = std::make_shared<BeatDetector>();
        if (!detector->valid())
            return 0;
        Detectors &all = detectors();
        std::lock_guard lock(all.mutex);
        return all.table.add(std::move(detector));
    } catch (...) {
        // No C++ exception may cross the C boundary; the caller sees a failed create.
        return 0;
    }
}

void BPM_AddSample(int32_t handle, float sample)
{
    withDetector(handle, [sample](BeatDetector &d) { d.addSample(sample); });
}

float BPM_getParameter(int32_t handle, int32_t index)
{
    float value = 0.0f;
    withDetector(handle, [&](BeatDetector &d) { value = d.parameter(index); });
    return value;
}

void BPM_setParameter(int32_t handle, int32_t index, float value)
{
    withDetector(handle, [&](BeatDetector &d) { d.setParameter(index, value); });
}

void BPM_Destroy(int32_t handle)
{
    std::shared_ptr<BeatDetector> doomed;
    {
        Detectors &all = detectors();
        std::lock_guard lock(all.mutex);
        doomed = all.table.remove(handle);
    }
}
