// SPDX-License-Identifier: GPL-2.0-or-later
#include "tempo/TapRun.h"

#include "common/NumberText.h"
#include "common/TempoLimits.h"
#include "tempo/TempoUnits.h"

#include <cmath>

namespace pulsivar {

double TapRun::intervalTo(double nowSeconds) const
{
    return std::fabs(nowSeconds - mdLastTapTime) * 1000.0;
}

double TapRun::add(double intervalMs)
{
    ++miIntervalHistoryIndex;
    malIntervalHistory[size_t(miIntervalHistoryIndex)] = intervalMs;
    double sum = 0;
    for (int i = 0; i <= miIntervalHistoryIndex; ++i)
        sum += malIntervalHistory[size_t(i)];
    const double period = sum / (miIntervalHistoryIndex + 1);
    // After the wrap the next tap writes index 1, averaging with index 0 of the earlier run.
    if (miIntervalHistoryIndex >= historyLength - 1)
        miIntervalHistoryIndex = 0;
    return period;
}

void TapRun::reset()
{
    mdLastTapTime = 0;
    miIntervalHistoryIndex = -1;
}

bool TapRun::expire(double nowSeconds)
{
    const auto sinceTapMs = roundToInt32((nowSeconds - mdLastTapTime) * 1000.0);
    // Still in the run while the gap since the last tap is a tempo of 30 BPM or more.
    if (sinceTapMs && IntervalToBPM(*sinceTapMs) >= minTempoBpm)
        return false;
    reset();
    return true;
}

} // namespace pulsivar
