// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Automatic tempo detection as one state machine: the audio system opened (or failed), a sampling
// run with its capture, the silence that ends it, and what the detection panel shows.
#include "detect/AudioSampler.h"
#include "detect/DetectionDisplay.h"
#include "detect/SilenceTracker.h"

#include <QStringList>
#include <memory>

namespace pulsivar {

class DetectionRun {
public:
    enum class State {
        Closed,    // the audio system is not open (yet, or any more)
        Unavailable,  // detection is off for the run: a module is missing or the system failed
        Ready,     // open, not sampling
        Sampling,  // a run records and feeds the detector
        Stopping,  // a stop was asked for; the next capture pass ends the run
    };

    ~DetectionRun();

    State state() const { return state_; }
    // Sampling and not asked to stop.
    bool isSampling() const { return state_ == State::Sampling; }
    // A run exists: sampling, or stopping at the next capture pass.
    bool hasRun() const { return state_ == State::Sampling || state_ == State::Stopping; }
    bool isReady() const { return state_ == State::Ready || hasRun(); }

    // Detection is off for the whole run (a module was not installed); the audio system is never opened.
    void disable() { state_ = State::Unavailable; }
    bool isUnavailable() const { return state_ == State::Unavailable; }

    // Opens the audio system and lists its inputs as "i - name" into entries; a failure makes
    // detection unavailable for the run, with the entries listed before it kept.
    bool open(QStringList &entries);
    // The inputs as they are now, while open and not sampling; false when they cannot be listed.
    bool relist(QStringList &entries);
    // Starts sampling from the device; false (and nothing running) when a step fails. With
    // bothSides the right side feeds a second detector (two decks); with removeOwnClick the
    // program's clicks handed to addOwnClick are taken out of what the detectors hear (the
    // device is the monitor of the output they play on).
    bool start(int device, bool bothSides = false, bool removeOwnClick = false);
    bool bothSides() const { return bothSides_; }
    // Both sides carry one signal (a mono source): there is one deck, not two.
    bool sameOnBothSides() const { return sameSignal.sameOnBothSides(); }
    void addOwnClick(OwnClickRemover::Click click);
    bool removesOwnClick() const { return sampler && hasRun() && sampler->removesOwnClick(); }
    // The measured delay from when a click sounds on the output's line to its capture, once found.
    std::optional<double> loopSeconds() const;
    // Asks the run to end at the next capture pass.
    void requestStop();

    enum class Capture { NoNewAudio, Block, Ended, Failed };
    // One pass of the capture loop: reads the audio recorded since the last pass, feeds the
    // detector, tracks the peak level and the silence. Ends the run when a stop was asked for.
    Capture capture(double nowSeconds, BlockPeaks &peaks);
    // Tears a run down: recording stopped, sound and detector freed.
    void end();
    // Ends a run still going and frees the audio system.
    void close();

    // The current values of the detector of a side (0 left, 1 right).
    DetectorReading reading(int side = 0) const;
    // When the last beat the side's detector found would sound if played on the output the clicks
    // play on (the monotonic time of the output's clock for it); nullopt without a tempo. The
    // capture's delay and, once measured, the loop's delay are taken off.
    std::optional<double> lastBeatSeconds(int side = 0) const;
    // Whether sampling has gone on in silence for longer than timeoutSeconds since the sound stopped.
    bool silenceTimedOut(double nowSeconds, int32_t timeoutSeconds) const;
    bool inputHasSound() const { return silence.mbInputHasSound; }
    int32_t peakLevel() const { return mlPeakLevel; }

    int32_t systemHandle() const { return sampler ? sampler->systemHandle() : 0; }
    QString lastError() const { return error; }

    DetectionDisplay display;
    // What the panel shows of the right side's deck.
    DetectionDisplay secondDisplay;

private:
    std::unique_ptr<AudioSampler> sampler;
    SilenceTracker silence;
    SameSignalCheck sameSignal;
    bool bothSides_ = false;
    int32_t mlPeakLevel = 0;
    State state_ = State::Closed;
    QString error;
};

} // namespace pulsivar
