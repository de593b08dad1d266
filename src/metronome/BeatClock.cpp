#include "metronome/BeatClock.h"

#include "common/NumberText.h"

namespace pulsivar {

int32_t IntervalToBPM(int32_t intervalMs)
{
    const double interval = intervalMs == 0 ? 1.0 : double(intervalMs);
    return roundToInt32(1000.0 / interval * 60.0).value_or(0);
}

int32_t BeatClock::limitInterval(int32_t intervalMs)
{
    if (intervalMs > maxIntervalMs)
        return maxIntervalMs;
    if (intervalMs < minIntervalMs)
        return minIntervalMs;
    return intervalMs;
}

int32_t BeatClock::start(int32_t lCurrMSInterval, bool bTappingTempo, int16_t iStartBeat)
{
    if (iStartBeat > 0)
        miCurrentBeat = iStartBeat;
    const int32_t interval = limitInterval(lCurrMSInterval);
    int32_t period = interval;
    if (bTappingTempo) {
        ++miIntervalHistoryIndex;
        malIntervalHistory[size_t(miIntervalHistoryIndex)] = interval;
        double sum = 0;
        for (int i = 0; i <= miIntervalHistoryIndex; ++i)
            sum += malIntervalHistory[size_t(i)];
        period = roundToInt32(sum / (miIntervalHistoryIndex + 1)).value_or(interval);
    } else {
        mdLastTapTime = 0;
        miIntervalHistoryIndex = -1;
    }
    // After the wrap the next tap writes index 1, averaging with index 0 of the earlier run.
    if (miIntervalHistoryIndex >= historyLength - 1)
        miIntervalHistoryIndex = 0;
    return period;
}

void BeatClock::stop()
{
    mdLastTapTime = 0;
    miCurrentBeat = 1;
    miIntervalHistoryIndex = -1;
}

void BeatClock::advanceBeat(int beatsPerMeasure)
{
    ++miCurrentBeat;
    if (miCurrentBeat >= beatsPerMeasure + 1)
        miCurrentBeat = 1;
}

bool BeatClock::expireTapRun(double nowSeconds)
{
    const auto sinceTapMs = roundToInt32((nowSeconds - mdLastTapTime) * 1000.0);
    // Still in the run while the gap since the last tap is a tempo of 30 BPM or more.
    if (sinceTapMs && IntervalToBPM(*sinceTapMs) >= 30)
        return false;
    mdLastTapTime = 0;
    miIntervalHistoryIndex = -1;
    return true;
}

} // namespace pulsivar
