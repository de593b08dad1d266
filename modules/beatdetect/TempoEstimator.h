#pragma once
// Finds the tempo of an onset-strength signal: a leaky autocorrelation scored by harmonic
// combs and a perceptual tempo preference, with hysteresis so that the reported value is stable.

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
        double offBeatPenalty = 0.0;     // weight of correlation half-way between beats
        double halfBeatSupport = 0.05;   // weight of correlation at half the beat period
        double minSalience = 0.02;       // below this there is no pulse worth reporting
        int switchEvaluations = 4;       // a different tempo must win this many times in a row
    };

    TempoEstimator();
    explicit TempoEstimator(const Settings& settings);

    // One zero-mean onset value a frame.
    void addFrame(float value);
    // Re-scores the candidates; call a few times a second.
    void evaluate();

    double bpm() const { return reportedBpm_; }              // 0 until a tempo is found
    double periodFrames() const { return reportedBpm_ > 0 ? settings_.frameRate * 60.0 / reportedBpm_ : 0.0; }
    double confidence() const { return confidence_; }          // 0..1
    double rawBpm() const { return rawBpm_; }
    const Settings& settings() const { return settings_; }

    // Normalised autocorrelation at a fractional lag, for tests and tuning.
    double autocorrelation(double lag) const;
    // Harmonic comb salience of a period in frames (before the tempo preference).
    double salience(double periodFrames) const;

private:
    double prior(double bpm) const;
    double refine(double bpm) const;

    Settings settings_;
    int maxLag_ = 0;
    double decay_ = 1.0;
    std::vector<float> history_;
    int historyPos_ = 0;
    long long frames_ = 0;
    std::vector<double> acf_;
    std::vector<double> candidates_;
    std::vector<double> normalised_;

    double rawBpm_ = 0.0;
    double reportedBpm_ = 0.0;
    double challengerBpm_ = 0.0;
    int challengerWins_ = 0;
    double confidence_ = 0.0;
    std::vector<double> recentRaw_;
    int recentPos_ = 0;
};

} // namespace pulsivar::beatdetect
