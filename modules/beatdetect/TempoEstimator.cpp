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
} // namespace

TempoEstimator::TempoEstimator() : TempoEstimator(Settings{}) {}

TempoEstimator::TempoEstimator(const Settings& settings) : settings_(settings)
{
    const double longestPeriod = settings_.frameRate * 60.0 / settings_.minBpm;
    maxLag_ = static_cast<int>(std::ceil(longestPeriod * kHarmonics)) + 2;
    decay_ = std::exp(-1.0 / (settings_.frameRate * settings_.memorySeconds));
    history_.assign(maxLag_ + 1, 0.0f);
    acf_.assign(maxLag_ + 1, 0.0);
    normalised_.assign(maxLag_ + 1, 0.0);
    // Candidates half a percent apart: finer than the 4% a listener notices.
    for (double b = settings_.minBpm; b <= settings_.maxBpm; b *= 1.005)
        candidates_.push_back(b);
    recentRaw_.assign(kRecent, 0.0);
}

void TempoEstimator::addFrame(float value)
{
    if (!std::isfinite(value))
        value = 0.0f;
    historyPos_ = (historyPos_ + 1) % static_cast<int>(history_.size());
    history_[historyPos_] = value;
    ++frames_;
    const int size = static_cast<int>(history_.size());
    const int lags = static_cast<int>(std::min<long long>(maxLag_, frames_ - 1));
    for (int lag = 0; lag <= maxLag_; ++lag) {
        acf_[lag] *= decay_;
        if (lag <= lags)
            acf_[lag] += static_cast<double>(value) * history_[(historyPos_ - lag + size) % size];
    }
}

double TempoEstimator::autocorrelation(double lag) const
{
    if (lag < 0 || lag >= maxLag_)
        return 0.0;
    const int i = static_cast<int>(lag);
    const double f = lag - i;
    return normalised_[i] * (1.0 - f) + normalised_[i + 1] * f;
}

double TempoEstimator::salience(double period) const
{
    // A pulse shows at the period and its multiples; the mean over the multiples that fit
    // rewards a steady pulse without favouring slow tempos for having more of them. Strong
    // correlation half-way between the multiples means a pulse twice as fast explains the
    // signal as well, so it counts against this period.
    double sum = 0.0;
    double between = 0.0;
    int count = 0;
    for (int k = 1; k <= kHarmonics; ++k) {
        const double lag = period * k;
        if (lag >= maxLag_)
            break;
        sum += autocorrelation(lag);
        between += std::max(0.0, autocorrelation(lag - 0.5 * period));
        ++count;
    }
    if (!count)
        return 0.0;
    // A beat is nearly always divided in two by hats, bass or melody. Rewarding a pulse at half
    // the period separates the beat from the level that groups three of those halves, where
    // the half falls off the grid, and from a level twice as fast, whose half is rarely played.
    const double halfBeat = std::max(0.0, autocorrelation(0.5 * period));
    return (sum - settings_.offBeatPenalty * between) / count + settings_.halfBeatSupport * halfBeat;
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
        for (int k = 1; period * k < maxLag_; ++k)
            score += autocorrelation(period * k);
        if (score > bestScore) {
            bestScore = score;
            best = bpm * f;
        }
    }
    return best;
}

void TempoEstimator::evaluate()
{
    const double energy = acf_[0];
    const long long needed = static_cast<long long>(settings_.frameRate * 2.0);
    if (frames_ < needed || !(energy > 1e-12)) {
        confidence_ = 0.0;
        return;
    }
    for (int lag = 0; lag <= maxLag_; ++lag)
        normalised_[lag] = acf_[lag] / energy;

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

    // How clearly the winner beats its metrical neighbours decides how far it can be trusted.
    double rival = 0.0;
    for (double ratio : {0.5, 2.0, 1.5, 2.0 / 3.0, 3.0, 1.0 / 3.0}) {
        const double b = best * ratio;
        if (b < settings_.minBpm || b > settings_.maxBpm)
            continue;
        rival = std::max(rival, std::max(0.0, salience(settings_.frameRate * 60.0 / b)) * prior(b));
    }
    const double margin = bestScore > 0 ? 1.0 - rival / bestScore : 0.0;

    if (bestSalience < settings_.minSalience) {
        rawBpm_ = 0.0;
    } else {
        rawBpm_ = refine(best);
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
    const double decisiveness = std::clamp(margin / 0.3, 0.0, 1.0);
    confidence_ = reportedBpm_ > 0 ? stability * clarity * (0.5 + 0.5 * decisiveness) : 0.0;
}

} // namespace pulsivar::beatdetect
