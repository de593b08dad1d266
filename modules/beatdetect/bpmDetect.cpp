// The detector's C interface: handles of a table of live detectors, never pointers.

#include "BeatDetector.h"
#include "HandleTable.h"

#include <cstdint>
#include <new>

#if defined(_WIN32)
#define BPM_EXPORT extern "C" __declspec(dllexport)
#else
#define BPM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using pulsivar::beatdetect::BeatDetector;
using pulsivar::beatdetect::HandleTable;

namespace {
HandleTable<BeatDetector>& detectors()
{
    static HandleTable<BeatDetector> table;
    return table;
}
} // namespace

BPM_EXPORT int32_t BPM_Create(void)
{
    try {
        auto detector = std::make_unique<BeatDetector>();
        if (!detector->valid())
            return 0;
        return detectors().add(std::move(detector));
    } catch (...) {
        // No C++ exception may cross the C boundary; the caller sees a failed create.
        return 0;
    }
}

BPM_EXPORT void BPM_AddSample(int32_t handle, float sample)
{
    detectors().with(handle, [sample](BeatDetector& d) { d.addSample(sample); });
}

BPM_EXPORT float BPM_getParameter(int32_t handle, int32_t index)
{
    float value = 0.0f;
    detectors().with(handle, [&](BeatDetector& d) { value = d.parameter(index); });
    return value;
}

BPM_EXPORT void BPM_setParameter(int32_t handle, int32_t index, float value)
{
    detectors().with(handle, [&](BeatDetector& d) { d.setParameter(index, value); });
}

BPM_EXPORT void BPM_Destroy(int32_t handle)
{
    detectors().remove(handle);
}
