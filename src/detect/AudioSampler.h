// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The engine side of tempo detection: opens the audio system, lists its inputs, and in a
// sampling run reads each newly recorded block and feeds its left channel to the detector.
#include "detect/AudioInputEngine.h"
#include "detect/BeatDetectorEngine.h"
#include "detect/CaptureBlock.h"
#include "detect/OwnClickRemover.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace pulsivar {

class AudioSampler {
public:
    AudioSampler(std::unique_ptr<AudioInputEngine> input, std::unique_ptr<BeatDetectorEngine> detector);
    ~AudioSampler();
    AudioSampler(const AudioSampler &) = delete;
    AudioSampler &operator=(const AudioSampler &) = delete;

    // Loads both modules, creates the audio system, lists its input devices as "i - name" into
    // entries and initialises the system. False at the first step that fails; the entries
    // listed before it stay.
    bool initEngine(QStringList &entries);
    // Lists the inputs afresh as "i - name" (devices come and go, and come back renamed).
    bool listDevices(QStringList &entries);

    // Records from the device into a fresh looping sound and makes a detector for the run, a
    // second one for the right side with bothSides. With removeOwnClick the clicks handed to
    // addOwnClick are taken out of the capture before the detectors hear it. False when a step
    // fails; whatever was made is released again by endRun.
    bool startRun(int device, bool bothSides = false, bool removeOwnClick = false);
    // A click the output placed, for a run that removes them.
    void addOwnClick(OwnClickRemover::Click click);
    bool isRunning() const { return running; }

    enum class PollOutcome { NoNewAudio, Block, Failed };
    // One pass: when the record position moved, reads every frame recorded since the last pass
    // (across the end of the looping buffer too), feeds the left samples to the detector and
    // gives the block's peaks.
    // readySeconds is the monotonic time of the pass.
    PollOutcome poll(BlockPeaks &peaks, double readySeconds = 0);

    // How often the reader fell more than a whole loop behind, so that what it had yet to read
    // was overwritten: those frames are skipped, not read as a mix of old and new.
    int lapCount() const { return laps; }

    // Stops recording and frees the run's sound and detector.
    void endRun();
    // Ends a run still going and frees the audio system.
    void closeSystem();

    // A value of the left detector (side 0) or the right one (side 1).
    float detectorValue(int32_t index, int side = 0) const;
    // When the last frame the detectors heard was captured, on the monotonic clock.
    double lastHeardSeconds() const;
    // The measured delay from when a click sounds on the output's line to its capture, once found.
    std::optional<double> loopSeconds() const { return remover.loopSeconds(); }
    bool removesOwnClick() const { return removing; }

    int32_t systemHandle() const { return input ? input->systemHandle() : 0; }
    int32_t soundHandle() const { return input ? input->soundHandle() : 0; }
    int32_t detectorHandle() const { return detectorId; }
    // Why the last failing step failed.
    QString lastError() const { return error; }

private:
    bool fail(const QString &why);

    std::unique_ptr<AudioInputEngine> input;
    std::unique_ptr<BeatDetectorEngine> detector;
    bool running = false;
    int32_t detectorId = 0;
    int32_t rightDetectorId = 0;
    bool removing = false;
    OwnClickRemover remover;
    CaptureClock captureClock;
    qint64 capturedFrames = 0;
    qint64 heardFrames = 0;
    std::vector<qint16> clean;
    quint32 lastPosition = 0;
    // The engine's count of recorded frames at the last read, where it keeps one.
    quint64 lastRecorded = 0;
    int laps = 0;
    quint32 bufferLength = AudioInputEngine::bufferFrames;
    std::vector<qint16> block;
    QString error;
};

} // namespace pulsivar
