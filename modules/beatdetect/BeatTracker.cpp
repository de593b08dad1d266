// SPDX-License-Identifier: GPL-2.0-or-later
#include "BeatTracker.h"

#include <algorithm>
#include <cmath>

namespace pulsivar::beatdetect {

namespace {
constexpr double kMemorySeconds = 8.0;
constexpr int kPhaseEvery = 5;        // frames between phase estimates
constexpr double kBeatDecay = 0.9;    // weight of each older beat in the phase estimate
constexpr double kWarmUpSeconds = 2.56; // onsets needed before the first phase estimate
// A phase held is kept unless one more than an eighth of a period away scores this much better:
// the beat and the half-way point often trade places for a bar or two.
constexpr double kNearPhase = 0.125;    // of a period
constexpr double kMoveMargin = 0.15;
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
    if (period * 2 >= size || frames_ < static_cast<long long>(frameRate_ * kWarmUpSeconds))
        return;
    auto at = [&](double back) {
        // Onset `back` frames before the newest, linearly interpolated.
        const int i = static_cast<int>(back);
        const double f = back - i;
        const float a = history_[(historyPos_ - i + size) % size];
        const float b = history_[(historyPos_ - i - 1 + size) % size];
        return a * (1.0 - f) + b * f;
    };
    auto scoreAt = [&](double phase) {
        double score = 0.0;
        double weight = 1.0;
        for (double back = phase; back + 1 < size; back += period) {
            score += weight * at(back);
            weight *= kBeatDecay;
        }
        return score;
    };
    double bestPhase = 0.0;
    double bestScore = -1.0;
    for (double phase = 0.0; phase < period; phase += 0.25) {
        const double score = scoreAt(phase);
        if (score > bestScore) {
            bestScore = score;
            bestPhase = phase;
        }
    }
    if (bestScore <= 0.0)
        return;
    if (anchorTime_ >= 0) {
        // Frames back from the newest frame to the beat the current phase predicts.
        const double held = std::fmod((lastFrameTime_ - anchorTime_) * frameRate_, period);
        const double phase = held < 0 ? held + period : held;
        double apart = std::fabs(phase - bestPhase);
        apart = std::min(apart, period - apart);
        if (apart > kNearPhase * period) {
            // The best phase near the held one, which the far one must clearly beat.
            double heldPhase = phase;
            double heldScore = -1.0;
            for (double d = -kNearPhase * period; d <= kNearPhase * period; d += 0.25) {
                double p = std::fmod(phase + d + period, period);
                const double s = scoreAt(p);
                if (s > heldScore) {
                    heldScore = s;
                    heldPhase = p;
                }
            }
            if (bestScore < heldScore * (1.0 + kMoveMargin)) {
                bestPhase = heldPhase;
                bestScore = heldScore;
            }
        }
    }
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
