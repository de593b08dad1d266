#pragma once
// The engine side of tempo detection: opens the audio system, lists its inputs, and in a
// sampling run reads each newly recorded block and feeds its left channel to the detector.
#include "detect/AudioInputEngine.h"
#include "detect/BeatDetectorEngine.h"
#include "detect/CaptureBlock.h"

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

    // Records from the device into a fresh looping sound and makes a detector for the run.
    // False when a step fails; whatever was made is released again by endRun.
    bool startRun(int device);
    bool isRunning() const { return running; }

    enum class PollOutcome { NoNewAudio, Block, Failed };
    // One pass: when the record position moved, reads every frame recorded since the last pass
    // (across the end of the looping buffer too), feeds the left samples to the detector and
    // gives the block's peaks.
    PollOutcome poll(BlockPeaks &peaks);

    // Stops recording and frees the run's sound and detector.
    void endRun();
    // Ends a run still going and frees the audio system.
    void closeSystem();

    float detectorValue(int32_t index) const;

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
    quint32 lastPosition = 0;
    quint32 bufferLength = AudioInputEngine::bufferFrames;
    std::vector<qint16> block;
    QString error;
};

} // namespace pulsivar
