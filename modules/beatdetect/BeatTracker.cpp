#include "BeatTracker.h"

#include <cmath>

namespace pulsivar::beatdetect {

namespace {
constexpr double kMemorySeconds = 5.12;
constexpr int kPhaseEvery = 5;        // frames between phase estimates
constexpr double kBeatDecay = 0.8;    // weight of each older beat in the phase estimate
} // namespace

BeatTracker::BeatTracker(double frameRate)
    : frameRate_(frameRate), history_(static_cast<size_t>(frameRate * kMemorySeconds), 0.0f)
{
}

void BeatTracker::addFrame(float onset, double frameTime, double periodFrames)
{
    historyPos_ = (historyPos_ + 1) % static_cast<int>(history_.size());
    history_[historyPos_] = std::isfinite(onset) ? onset : 0.0f;
    ++frames_;
    lastFrameTime_ = frameTime;
    if (periodFrames <= 0) {
        anchorTime_ = -1.0;
        periodSeconds_ = 0.0;
        return;
    }
    if (frames_ % kPhaseEvery == 0 || anchorTime_ < 0)
        estimatePhase(periodFrames);
}

void BeatTracker::estimatePhase(double period)
{
    const int size = static_cast<int>(history_.size());
    if (period * 2 >= size || frames_ < size / 2)
        return;
    auto at = [&](double back) {
        // Onset `back` frames before the newest, linearly interpolated.
        const int i = static_cast<int>(back);
        const double f = back - i;
        const float a = history_[(historyPos_ - i + size) % size];
        const float b = history_[(historyPos_ - i - 1 + size) % size];
        return a * (1.0 - f) + b * f;
    };
    double bestPhase = 0.0;
    double bestScore = -1.0;
    for (double phase = 0.0; phase < period; phase += 0.25) {
        double score = 0.0;
        double weight = 1.0;
        for (double back = phase; back + 1 < size; back += period) {
            score += weight * at(back);
            weight *= kBeatDecay;
        }
        if (score > bestScore) {
            bestScore = score;
            bestPhase = phase;
        }
    }
    if (bestScore <= 0.0)
        return;
    anchorTime_ = lastFrameTime_ - bestPhase / frameRate_;
    periodSeconds_ = period / frameRate_;
}

double BeatTracker::nextBeatAfter(double after) const
{
    if (anchorTime_ < 0 || periodSeconds_ <= 0)
        return -1.0;
    const double beats = std::floor((after - anchorTime_) / periodSeconds_) + 1.0;
    return anchorTime_ + beats * periodSeconds_;
}

} // namespace pulsivar::beatdetect
