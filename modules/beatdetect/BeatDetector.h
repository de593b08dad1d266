#pragma once
// One live beat detector: raw 16-bit sample values in, tempo, confidence and a beat count out.

#include "BeatTracker.h"
#include "OnsetEnvelope.h"
#include "TempoEstimator.h"

namespace pulsivar::beatdetect {

class BeatDetector {
public:
    enum Parameter { Tempo = 0, Confidence = 1, BeatMarker = 2 };

    BeatDetector();
    explicit BeatDetector(const TempoEstimator::Settings& settings);

    bool valid() const { return onsets_.valid(); }
    void addSample(float sample);
    float parameter(int index) const;
    void setParameter(int index, float value);

    double bpm() const { return tempo_.bpm(); }
    double confidencePercent() const;

private:
    void onFrame();

    OnsetEnvelope onsets_;
    TempoEstimator tempo_;
    BeatTracker tracker_;
    long long samples_ = 0;
    long long frames_ = 0;
    double onsetMean_ = 0.0;
    double nextBeat_ = -1.0;     // seconds
    double lastBeat_ = -1e9;
    double beatMarker_ = 0.0;
    int quietFrames_ = 0;
};

} // namespace pulsivar::beatdetect
