// SPDX-License-Identifier: GPL-2.0-or-later
#include "MetricalLevel.h"

#include <algorithm>
#include <cmath>

namespace pulsivar::beatdetect {

namespace {
constexpr int kHarmonics = 4;
constexpr double kRatios[MetricalLevel::kMaxCandidates] = {1.0, 0.5, 2.0, 2.0 / 3.0, 1.5, 0.75, 4.0 / 3.0};
// Fitted on the tuning half of the real-music corpus (bench/beatdetect/fit_levels.py).
constexpr std::array<double, LevelEvidence::Count> kWeights = {
    -0.012, -0.858, -3.378, 0.898, 2.009, -0.027, 0.688, 1.556, 0.0, 5.685, -0.335};
// A level already reported keeps this bonus, so a reading does not flip on a close call.
constexpr double kFavouredBonus = 0.5;
constexpr double kSameTempo = 0.04;
} // namespace

MetricalLevel::MetricalLevel(double frameRate, double minBpm, double maxBpm)
    : frameRate_(frameRate), minBpm_(minBpm), maxBpm_(maxBpm)
{
}

double MetricalLevel::peakNear(double bpm, const Autocorrelation& all) const
{
    // Related levels rarely sit exactly at the ratio: take the comb's peak close by.
    double best = bpm;
    double bestValue = -1e300;
    for (double f = 0.98; f <= 1.0201; f += 0.0025) {
        const double value = all.comb(frameRate_ * 60.0 / (bpm * f), kHarmonics);
        if (value > bestValue) {
            bestValue = value;
            best = bpm * f;
        }
    }
    return best;
}

std::pair<double, double> MetricalLevel::contrast(double period, const Autocorrelation& all) const
{
    const int span = all.maxLag() - 1;
    if (period < 2 || period * 2 > span)
        return {0.0, 0.0};
    double sumSquares = 0.0;
    for (int back = 0; back < span; ++back)
        sumSquares += static_cast<double>(all.recent(back)) * all.recent(back);
    const double rms = std::sqrt(sumSquares / span);
    if (!(rms > 0))
        return {0.0, 0.0};
    auto fold = [&](double phase) {
        double sum = 0.0;
        int n = 0;
        for (double back = phase; back < span; back += period) {
            const int i = static_cast<int>(back);
            sum += std::max(all.recent(i), all.recent(i + 1));
            ++n;
        }
        return sum / std::max(1, n);
    };
    double best = -1e300;
    double bestPhase = 0.0;
    for (double phase = 0.0; phase < period; phase += 1.0) {
        const double v = fold(phase);
        if (v > best) {
            best = v;
            bestPhase = phase;
        }
    }
    return {best / rms, fold(std::fmod(bestPhase + period / 2, period)) / rms};
}

LevelEvidence MetricalLevel::evidence(double bpm, const Autocorrelation& all,
                                      const std::array<Autocorrelation, 3>& bands) const
{
    const double period = frameRate_ * 60.0 / bpm;
    LevelEvidence e;
    auto& v = e.values;
    v[LevelEvidence::Comb] = all.comb(period, kHarmonics);
    v[LevelEvidence::HalfBeat] = std::max(0.0, all.at(period / 2));
    v[LevelEvidence::ThirdBeat] = std::max(0.0, all.at(period / 3));
    v[LevelEvidence::LowComb] = bands[0].comb(period, kHarmonics);
    v[LevelEvidence::MidComb] = bands[1].comb(period, kHarmonics);
    v[LevelEvidence::HighComb] = bands[2].comb(period, kHarmonics);
    const auto [onBeat, halfWay] = contrast(period, all);
    v[LevelEvidence::Contrast] = onBeat;
    v[LevelEvidence::Accent] = onBeat - halfWay;
    const double octave = std::log2(bpm / 120.0);
    v[LevelEvidence::Octave] = octave;
    v[LevelEvidence::OctaveSquared] = octave * octave;
    return e;
}

double MetricalLevel::score(const LevelEvidence& evidence)
{
    double s = 0.0;
    for (int i = 0; i < LevelEvidence::Count; ++i)
        s += kWeights[i] * evidence.values[i];
    return s;
}

std::array<double, MetricalLevel::kMaxCandidates> MetricalLevel::relatedTempos(double bpm, const Autocorrelation& all) const
{
    std::array<double, kMaxCandidates> out{};
    for (int i = 0; i < kMaxCandidates; ++i) {
        const double b = bpm * kRatios[i];
        if (b >= minBpm_ && b <= maxBpm_)
            out[i] = kRatios[i] == 1.0 ? bpm : peakNear(b, all);
    }
    return out;
}

void MetricalLevel::rank(double favouredBpm)
{
    if (!count_)
        return;
    for (int i = 0; i < count_; ++i) {
        Candidate& c = candidates_[i];
        c.score = score(c.evidence);
        if (favouredBpm > 0 && std::fabs(c.bpm / favouredBpm - 1.0) <= kSameTempo)
            c.score += kFavouredBonus;
    }
    std::sort(candidates_.begin(), candidates_.begin() + count_,
              [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
    double total = 0.0;
    for (int i = 0; i < count_; ++i)
        total += std::exp(candidates_[i].score - candidates_[0].score);
    for (int i = 0; i < count_; ++i)
        candidates_[i].probability = std::exp(candidates_[i].score - candidates_[0].score) / total;
}

} // namespace pulsivar::beatdetect
