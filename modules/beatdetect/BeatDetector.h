// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One live beat detector: raw 16-bit sample values in, tempo, confidence and a beat count out.

#include "BeatTracker.h"
#include "OnsetEnvelope.h"
#include "TempoEstimator.h"

namespace pulsivar::beatdetect {

class BeatDetector {
public:
    // Tempo: BPM, 0 until found. Confidence: three times it is the percent shown (capped at
    // 100). BeatMarker: the integer part grows by one at each beat (modulo 10000); the fraction
    // is how far the last sample added lies between the last beat and the next one predicted,
    // so a reader polling at any moment knows the phase: the last beat was fraction x period ago.
    enum Parameter { Tempo = 0, Confidence = 1, BeatMarker = 2 };

    BeatDetector();
    explicit BeatDetector(const TempoEstimator::Settings& settings);

    bool valid() const { return onsets_.valid(); }
    void addSample(float sample);
    float parameter(int index) const;
    void setParameter(int index, float value);

    double bpm() const { return tempo_.bpm(); }
    const TempoEstimator& tempo() const { return tempo_; }
    double confidencePercent() const;

private:
    void onFrame();
    double beatFraction() const;

    OnsetEnvelope onsets_;
    TempoEstimator tempo_;
    BeatTracker tracker_;
    long long samples_ = 0;
    long long frames_ = 0;
    double onsetMean_ = 0.0;
    std::array<double, OnsetEnvelope::kBands> bandMeans_{};
    std::array<double, OnsetEnvelope::kBands> energyMeans_{};
    double nextBeat_ = -1.0;     // seconds
    double lastBeat_ = -1e9;
    double beatMarker_ = 0.0;
    int quietFrames_ = 0;
};

} // namespace pulsivar::beatdetect
