// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/DetectionRun.h"

#include "detect/DetectionEngines.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

DetectionRun::~DetectionRun()
{
    close();
}

bool DetectionRun::open(QStringList &entries)
{
    if (isReady())
        return true;
    if (state_ == State::Unavailable)
        return false;
    sampler = std::make_unique<AudioSampler>(makeAudioInputEngine(), makeBeatDetector());
    if (!sampler->initEngine(entries)) {
        error = sampler->lastError();
        // A failed attempt is not repeated: detection stays off for the run.
        state_ = State::Unavailable;
        return false;
    }
    state_ = State::Ready;
    return true;
}

bool DetectionRun::relist(QStringList &entries)
{
    return state_ == State::Ready && sampler && sampler->listDevices(entries);
}

bool DetectionRun::start(int device, bool bothSides, bool removeOwnClick)
{
    if (state_ != State::Ready || !sampler) {
        error = QStringLiteral("The audio system is not open");
        return false;
    }
    bothSides_ = bothSides;
    if (!sampler->startRun(device, bothSides, removeOwnClick)) {
        error = sampler->lastError();
        sampler->endRun();
        return false;
    }
    state_ = State::Sampling;
    mlPeakLevel = 0;
    display.reset();
    secondDisplay.reset();
    silence.reset();
    sameSignal.reset();
    return true;
}

void DetectionRun::addOwnClick(OwnClickRemover::Click click)
{
    if (sampler && hasRun())
        sampler->addOwnClick(std::move(click));
}

std::optional<double> DetectionRun::loopSeconds() const
{
    return sampler ? sampler->loopSeconds() : std::nullopt;
}

std::optional<double> DetectionRun::lastBeatSeconds(int side) const
{
    const DetectorReading now = reading(side);
    if (!sampler || !(now.tempo > 0) || !std::isfinite(now.beatMarker) || !std::isfinite(now.tempo))
        return std::nullopt;
    const double fraction = double(now.beatMarker) - std::floor(double(now.beatMarker));
    return sampler->lastHeardSeconds() - fraction * 60.0 / now.tempo - loopSeconds().value_or(0.0);
}

void DetectionRun::requestStop()
{
    if (state_ == State::Sampling)
        state_ = State::Stopping;
}

DetectionRun::Capture DetectionRun::capture(double nowSeconds, BlockPeaks &peaks)
{
    peaks = {};
    if (!hasRun())
        return Capture::Ended;
    if (state_ == State::Stopping) {
        end();
        return Capture::Ended;
    }
    switch (sampler->poll(peaks, nowSeconds)) {
    case AudioSampler::PollOutcome::NoNewAudio:
        return Capture::NoNewAudio;
    case AudioSampler::PollOutcome::Failed:
        error = sampler->lastError();
        end();
        return Capture::Failed;
    case AudioSampler::PollOutcome::Block:
        break;
    }
    // With two decks either side's sound is sound.
    const int32_t level = bothSides_ ? std::max(peaks.left, peaks.right) : peaks.left;
    if (level > mlPeakLevel)
        mlPeakLevel = level;
    silence.addBlock(level, nowSeconds);
    sameSignal.add(peaks);
    return Capture::Block;
}

void DetectionRun::end()
{
    if (sampler)
        sampler->endRun();
    if (hasRun())
        state_ = State::Ready;
}

void DetectionRun::close()
{
    end();
    if (sampler && isReady())
        sampler->closeSystem();
    if (state_ == State::Ready)
        state_ = State::Closed;
}

DetectorReading DetectionRun::reading(int side) const
{
    DetectorReading reading;
    if (!sampler || !hasRun())
        return reading;
    reading.tempo = sampler->detectorValue(BeatDetectorEngine::tempoParameter, side);
    reading.confidence = sampler->detectorValue(BeatDetectorEngine::confidenceParameter, side);
    reading.beatMarker = sampler->detectorValue(BeatDetectorEngine::beatMarkerParameter, side);
    return reading;
}

bool DetectionRun::silenceTimedOut(double nowSeconds, int32_t timeoutSeconds) const
{
    return hasRun() && silence.timedOut(nowSeconds, timeoutSeconds);
}

} // namespace pulsivar
