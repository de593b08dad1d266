// SPDX-License-Identifier: GPL-2.0-or-later
#include "tempo/TempoUnits.h"

#include "common/NumberText.h"

namespace pulsivar {

int32_t IntervalToBPM(int32_t intervalMs)
{
    const double interval = intervalMs == 0 ? 1.0 : double(intervalMs);
    return roundToInt32(1000.0 / interval * 60.0).value_or(0);
}

int32_t BPMToInterval(int16_t &BPM)
{
    if (BPM == 0)
        BPM = 1;
    return roundToInt32(60.0 / BPM * 1000.0).value_or(0);
}

} // namespace pulsivar
