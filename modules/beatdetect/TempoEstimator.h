// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Finds the tempo of an onset-strength signal: a leaky autocorrelation scored by harmonic
// combs and a perceptual tempo preference finds the period; the metrical level is then chosen
// among its relatives with per-band evidence; hysteresis keeps the reported value stable.

#include "Autocorrelation.h"
#include "MetricalLevel.h"

#include <array>
#include <vector>

namespace pulsivar::beatdetect {

class TempoEstimator {
public:
    struct Settings {
        double frameRate = 100.0;
        double minBpm = 40.0;
        double maxBpm = 240.0;
        double memorySeconds = 5.0;      // time constant of the leaky autocorrelation
        double priorCentreBpm = 135.0;   // tempo most listeners of dance and game music tap to
        double priorOctaves = 0.9;       // width of that preference, in octaves
        double halfBeatSupport = 0.05;   // weight of correlation at half the beat period
        double minSalience = 0.02;       // below this there is no pulse worth reporting
        int switchEvaluations = 4;       // a different tempo must win this many times in a row
    };
    using Bands = std::array<float, 3>;

    TempoEstimator();
    explicit TempoEstimator(const Settings& settings);

    // One zero-mean onset value a frame, and the same for the low, mid and high bands.
    void addFrame(float value, const Bands& bands);
    // For a signal without bands: every band follows the whole.
    void addFrame(float value) { addFrame(value, {value, value, value}); }
    // Re-scores the candidates; call a few times a second.
    void evaluate();

    double bpm() const { return reportedBpm_; }              // 0 until a tempo is found
    double periodFrames() const { return reportedBpm_ > 0 ? settings_.frameRate * 60.0 / reportedBpm_ : 0.0; }
    double confidence() const { return confidence_; }          // 0..1
    double rawBpm() const { return rawBpm_; }
    const Settings& settings() const { return settings_; }
    // The levels weighed at the last evaluation, the chosen one first.
    const MetricalLevel& levels() const { return levels_; }

    // Normalised autocorrelation at a fractional lag, for tests and tuning.
    double autocorrelation(double lag) const { return all_.at(lag); }
    // Harmonic comb salience of a period in frames (before the tempo preference).
    double salience(double periodFrames) const;

private:
    double prior(double bpm) const;
    double refine(double bpm) const;

    Settings settings_;
    Autocorrelation all_;
    std::array<Autocorrelation, 3> bands_;
    MetricalLevel levels_;
    std::vector<double> candidates_;

    double rawBpm_ = 0.0;
    double reportedBpm_ = 0.0;
    double challengerBpm_ = 0.0;
    int challengerWins_ = 0;
    double confidence_ = 0.0;
    std::vector<double> recentRaw_;
    int recentPos_ = 0;
};

} // namespace pulsivar::beatdetect
