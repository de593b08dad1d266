// SPDX-License-Identifier: GPL-2.0-or-later
#include "BeatDetector.h"

#include <algorithm>
#include <cmath>

namespace pulsivar::beatdetect {

namespace {
constexpr double kFullScale = 32768.0;
constexpr int kEvaluateEvery = 20;            // frames: five tempo evaluations a second
constexpr double kMeanFrames = 100.0;         // the local onset mean follows one second
constexpr float kBandWeights[OnsetEnvelope::kBands] = {1.0f, 1.0f, 0.6f};
// The beat phase leans less on the low band: bass lines often sit between the beats.
constexpr double kPhaseWeights[OnsetEnvelope::kBands] = {0.5, 1.0, 1.0};
constexpr double kSilentEnergy = 1e-6;   // below this mean rise a band is silent
// The flux of a frame peaks a little after the window's centre passes the attack.
constexpr double kFrameDelaySeconds = (OnsetEnvelope::kWindow / 2.0) / OnsetEnvelope::kSampleRate;
constexpr float kSilencePeak = 100.0f / 32768.0f;
constexpr int kSilentFrames = 200;           // two seconds without sound stop the beat light
constexpr double kMarkerWrap = 10000.0;
constexpr double kMaxFraction = 0.999;       // the integer part only grows at a beat
} // namespace

BeatDetector::BeatDetector() : BeatDetector(TempoEstimator::Settings{}) {}

BeatDetector::BeatDetector(const TempoEstimator::Settings& settings) : tempo_(settings) {}

void BeatDetector::addSample(float sample)
{
    if (!std::isfinite(sample))
        sample = 0.0f;
    ++samples_;
    if (onsets_.addSample(static_cast<float>(sample / kFullScale)))
        onFrame();
    if (nextBeat_ > 0) {
        const double now = static_cast<double>(samples_) / OnsetEnvelope::kSampleRate;
        if (now >= nextBeat_) {
            // Counted modulo 10000 so that a float still holds the fraction to a thousandth.
            beatMarker_ = std::fmod(beatMarker_ + 1.0, kMarkerWrap);
            lastBeat_ = nextBeat_;
            nextBeat_ = tracker_.nextBeatAfter(now);
        }
    }
}

void BeatDetector::onFrame()
{
    ++frames_;
    const auto& bands = onsets_.frame();
    double onset = 0.0;
    TempoEstimator::Bands centredBands{};
    for (int b = 0; b < OnsetEnvelope::kBands; ++b) {
        onset += kBandWeights[b] * bands[b];
        bandMeans_[b] += (bands[b] - bandMeans_[b]) / kMeanFrames;
        centredBands[b] = static_cast<float>(bands[b] - bandMeans_[b]);
    }
    onsetMean_ += (onset - onsetMean_) / kMeanFrames;
    const double centred = onset - onsetMean_;

    quietFrames_ = onsets_.framePeak() < kSilencePeak ? quietFrames_ + 1 : 0;
    tempo_.addFrame(static_cast<float>(centred), centredBands);
    if (frames_ % kEvaluateEvery == 0)
        tempo_.evaluate();

    const double frameTime =
        static_cast<double>(samples_) / OnsetEnvelope::kSampleRate - kFrameDelaySeconds;
    // Silence holds the beat light still instead of beating on without music.
    const double period = quietFrames_ > kSilentFrames ? 0.0 : tempo_.periodFrames();
    // The phase follows loud attacks: in syncopated music the soft ones (chords, bass, hats)
    // gather half-way between the beats at least as often as on them, the drums rarely do.
    double phaseOnset = 0.0;
    const auto& energy = onsets_.energyFrame();
    for (int b = 0; b < OnsetEnvelope::kBands; ++b) {
        energyMeans_[b] += (energy[b] - energyMeans_[b]) / kMeanFrames;
        if (energyMeans_[b] > kSilentEnergy)
            phaseOnset += kPhaseWeights[b] * std::log1p(std::max(0.0, energy[b] / energyMeans_[b] - 1.0));
    }
    tracker_.addFrame(static_cast<float>(phaseOnset), frameTime, period);

    const double now = static_cast<double>(samples_) / OnsetEnvelope::kSampleRate;
    const double periodSeconds = period * OnsetEnvelope::kHop / OnsetEnvelope::kSampleRate;
    if (period <= 0) {
        nextBeat_ = -1.0;
        return;
    }
    // Never announce two beats closer than half a period when the phase moves.
    double next = tracker_.nextBeatAfter(now);
    if (next > 0 && next - lastBeat_ < 0.5 * periodSeconds)
        next = tracker_.nextBeatAfter(next + 1e-6);
    nextBeat_ = next;
}

double BeatDetector::beatFraction() const
{
    if (lastBeat_ < 0 || nextBeat_ <= lastBeat_)
        return 0.0;
    const double now = static_cast<double>(samples_) / OnsetEnvelope::kSampleRate;
    return std::clamp((now - lastBeat_) / (nextBeat_ - lastBeat_), 0.0, kMaxFraction);
}

double BeatDetector::confidencePercent() const
{
    return 100.0 * tempo_.confidence();
}

float BeatDetector::parameter(int index) const
{
    switch (index) {
    case Tempo:
        return static_cast<float>(tempo_.bpm());
    case Confidence:
        // Shown as three times this value, capped at 100 percent.
        return static_cast<float>(confidencePercent() / 3.0);
    case BeatMarker:
        return static_cast<float>(beatMarker_ + beatFraction());
    default:
        return 0.0f;
    }
}

void BeatDetector::setParameter(int, float)
{
    // Nothing is tunable from outside; the call exists for callers that expect it.
}

} // namespace pulsivar::beatdetect
