// SPDX-License-Identifier: GPL-2.0-or-later
#include "TempoEstimator.h"

#include <algorithm>
#include <cmath>

namespace pulsivar::beatdetect {

namespace {
constexpr int kHarmonics = 4;
constexpr int kRecent = 25;             // evaluations remembered for the stability measure
constexpr double kSameTempo = 0.04;     // relative difference still counted as the same tempo

bool sameTempo(double a, double b)
{
    return a > 0 && b > 0 && std::fabs(a / b - 1.0) <= kSameTempo;
}

int maxLagFor(const TempoEstimator::Settings& s)
{
    return static_cast<int>(std::ceil(s.frameRate * 60.0 / s.minBpm * kHarmonics)) + 2;
}

double decayFor(const TempoEstimator::Settings& s)
{
    return std::exp(-1.0 / (s.frameRate * s.memorySeconds));
}
} // namespace

TempoEstimator::TempoEstimator() : TempoEstimator(Settings{}) {}

TempoEstimator::TempoEstimator(const Settings& settings)
    : settings_(settings),
      all_(maxLagFor(settings), decayFor(settings)),
      bands_{Autocorrelation(maxLagFor(settings), decayFor(settings)),
             Autocorrelation(maxLagFor(settings), decayFor(settings)),
             Autocorrelation(maxLagFor(settings), decayFor(settings))},
      levels_(settings.frameRate, settings.minBpm, settings.maxBpm)
{
    // Candidates half a percent apart: finer than the 4% a listener notices.
    for (double b = settings_.minBpm; b <= settings_.maxBpm; b *= 1.005)
        candidates_.push_back(b);
    recentRaw_.assign(kRecent, 0.0);
}

void TempoEstimator::addFrame(float value, const Bands& bands)
{
    all_.add(value);
    for (size_t b = 0; b < bands_.size(); ++b)
        bands_[b].add(bands[b]);
}

double TempoEstimator::salience(double period) const
{
    // A pulse shows at the period and its multiples; the mean over the multiples that fit
    // rewards a steady pulse without favouring slow tempos for having more of them. A beat is
    // nearly always divided in two by hats, bass or melody: a pulse at half the period
    // separates the beat from the level that groups three of those halves.
    const double halfBeat = std::max(0.0, all_.at(0.5 * period));
    return all_.comb(period, kHarmonics) + settings_.halfBeatSupport * halfBeat;
}

double TempoEstimator::prior(double bpm) const
{
    const double octaves = std::log2(bpm / settings_.priorCentreBpm) / settings_.priorOctaves;
    return std::exp(-0.5 * octaves * octaves);
}

double TempoEstimator::refine(double bpm) const
{
    // Every multiple of the period that fits sharpens the estimate far below one frame.
    double best = bpm;
    double bestScore = -1e300;
    for (double f = 0.98; f <= 1.02; f += 0.0005) {
        const double period = settings_.frameRate * 60.0 / (bpm * f);
        double score = 0.0;
        for (int k = 1; period * k < all_.maxLag(); ++k)
            score += all_.at(period * k);
        if (score > bestScore) {
            bestScore = score;
            best = bpm * f;
        }
    }
    return best;
}

void TempoEstimator::evaluate()
{
    const long long needed = static_cast<long long>(settings_.frameRate * 2.0);
    if (all_.frames() < needed || !all_.normalise()) {
        confidence_ = 0.0;
        return;
    }
    for (auto& band : bands_)
        band.normalise();

    double bestScore = -1e300;
    double best = 0.0;
    double bestSalience = 0.0;
    for (double b : candidates_) {
        const double s = salience(settings_.frameRate * 60.0 / b);
        const double score = std::max(0.0, s) * prior(b);
        if (score > bestScore) {
            bestScore = score;
            best = b;
            bestSalience = s;
        }
    }

    double certainty = 0.0;
    if (bestSalience < settings_.minSalience) {
        rawBpm_ = 0.0;
    } else {
        levels_.choose(refine(best), all_, bands_, reportedBpm_, [this](double b) {
            return salience(settings_.frameRate * 60.0 / b) * prior(b);
        });
        rawBpm_ = refine(levels_.candidate(0).bpm);
        certainty = levels_.candidate(0).probability;
    }
    recentRaw_[recentPos_] = rawBpm_;
    recentPos_ = (recentPos_ + 1) % kRecent;

    if (rawBpm_ > 0) {
        if (reportedBpm_ == 0.0 || sameTempo(rawBpm_, reportedBpm_)) {
            reportedBpm_ = rawBpm_;
            challengerWins_ = 0;
        } else if (sameTempo(rawBpm_, challengerBpm_)) {
            if (++challengerWins_ >= settings_.switchEvaluations) {
                reportedBpm_ = rawBpm_;
                challengerWins_ = 0;
            }
        } else {
            challengerBpm_ = rawBpm_;
            challengerWins_ = 1;
        }
    }

    int agreeing = 0;
    for (double r : recentRaw_)
        agreeing += sameTempo(r, reportedBpm_) ? 1 : 0;
    const double stability = static_cast<double>(agreeing) / kRecent;
    const double clarity = std::clamp((bestSalience - settings_.minSalience) / 0.3, 0.0, 1.0);
    // A reading about to change level shows it: the chosen level's certainty falls first.
    // To the fourth: a level chosen over a close rival is often the one a listener would not tap.
    const double level = sameTempo(rawBpm_, reportedBpm_) ? std::pow(certainty, 4) : 0.0;
    confidence_ = reportedBpm_ > 0 ? stability * clarity * level : 0.0;
}

} // namespace pulsivar::beatdetect
