#pragma once
// The beat clock's arithmetic: interval limits, the tap run and its average, the beat count.
#include <array>
#include <cstdint>
#include <optional>

namespace pulsivar {

// BPM from a beat interval in ms, halves to even; 0 counts as 1.
int32_t IntervalToBPM(int32_t intervalMs);

class BeatClock {
public:
    static constexpr int32_t minIntervalMs = 240;
    static constexpr int32_t maxIntervalMs = 2000;
    static constexpr int historyLength = 1001;

    static int32_t limitInterval(int32_t intervalMs);

    // The timer period for a start: limits the interval, keeps or restarts the tap run,
    // and moves to iStartBeat when it is above 0.
    int32_t start(int32_t lCurrMSInterval, bool bTappingTempo, int16_t iStartBeat);
    void stop();

    // The beat shown next moves on, back to 1 past the measure's last beat.
    void advanceBeat(int beatsPerMeasure);
    // A tick's check of the tap run: true when it has just expired (nothing happens when none ran).
    // nowSeconds is on the same monotonic clock as mdLastTapTime.
    bool expireTapRun(double nowSeconds);

    int16_t miCurrentBeat = 1;
    std::array<int32_t, historyLength> malIntervalHistory{};
    int16_t miIntervalHistoryIndex = -1;
    // Monotonic seconds of the last tap; 0 when no tap run is going.
    double mdLastTapTime = 0;
};

} // namespace pulsivar
