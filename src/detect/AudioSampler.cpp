#include "detect/AudioSampler.h"

#include <utility>

namespace pulsivar {

AudioSampler::AudioSampler(std::unique_ptr<AudioInputEngine> inputEngine,
                           std::unique_ptr<BeatDetectorEngine> beatDetector)
    : input(std::move(inputEngine)), detector(std::move(beatDetector))
{
}

AudioSampler::~AudioSampler()
{
    closeSystem();
}

bool AudioSampler::fail(const QString &why)
{
    error = why;
    return false;
}

bool AudioSampler::initEngine(QStringList &entries)
{
    if (!input || !detector)
        return fail(QStringLiteral("There is no audio engine"));
    if (!input->load())
        return fail(input->lastError());
    if (!detector->load())
        return fail(detector->lastError());
    if (!input->createSystem())
        return fail(input->lastError());
    const std::optional<int> count = input->recordDriverCount();
    if (!count)
        return fail(input->lastError());
    for (int i = 0; i < *count; ++i) {
        const std::optional<QString> name = input->recordDriverName(i);
        if (!name)
            return fail(input->lastError());
        entries << QStringLiteral("%1 - %2").arg(i).arg(*name);
    }
    if (!input->initSystem())
        return fail(input->lastError());
    return true;
}

bool AudioSampler::startRun(int device)
{
    if (!input || !detector || !input->hasSystem())
        return fail(QStringLiteral("The audio system is not open"));
    running = true;
    lastPosition = 0;
    if (!input->setRecordDriver(device) || !input->createRecordingSound() || !input->startRecording())
        return fail(input->lastError());
    detectorId = detector->create();
    if (detectorId == 0)
        return fail(detector->lastError());
    const std::optional<quint32> length = input->soundLengthFrames();
    if (!length || *length == 0)
        return fail(length ? QStringLiteral("The recording buffer is empty") : input->lastError());
    bufferLength = *length;
    return true;
}

AudioSampler::PollOutcome AudioSampler::poll(BlockPeaks &peaks)
{
    peaks = {};
    if (!running || !input)
        return PollOutcome::NoNewAudio;
    const std::optional<quint32> position = input->recordPosition();
    if (!position) {
        fail(input->lastError());
        return PollOutcome::Failed;
    }
    if (*position == lastPosition)
        return PollOutcome::NoNewAudio;
    if (*position >= bufferLength) {
        fail(QStringLiteral("The record position %1 lies outside the recording buffer").arg(*position));
        return PollOutcome::Failed;
    }
    const quint32 frames = framesSince(lastPosition, *position, bufferLength);
    if (!input->readFrames(lastPosition, frames, block)) {
        fail(input->lastError());
        return PollOutcome::Failed;
    }
    if (!input->update()) {
        fail(input->lastError());
        return PollOutcome::Failed;
    }
    lastPosition = *position;
    peaks = analyseBlock(block, detector.get(), detectorId);
    return PollOutcome::Block;
}

float AudioSampler::detectorValue(int32_t index) const
{
    if (!detector || detectorId == 0)
        return 0.0f;
    return detector->parameter(detectorId, index);
}

void AudioSampler::endRun()
{
    if (!running)
        return;
    running = false;
    if (input) {
        input->stopRecording();
        input->releaseSound();
    }
    if (detector && detectorId != 0)
        detector->destroy(detectorId);
    detectorId = 0;
}

void AudioSampler::closeSystem()
{
    endRun();
    if (input)
        input->closeSystem();
}

} // namespace pulsivar
