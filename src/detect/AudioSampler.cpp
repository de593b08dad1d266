// SPDX-License-Identifier: GPL-2.0-or-later
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
    if (!listDevices(entries))
        return false;
    if (!input->initSystem())
        return fail(input->lastError());
    return true;
}

bool AudioSampler::listDevices(QStringList &entries)
{
    if (!input || !input->hasSystem())
        return fail(QStringLiteral("The audio system is not open"));
    const std::optional<int> count = input->recordDriverCount();
    if (!count)
        return fail(input->lastError());
    for (int i = 0; i < *count; ++i) {
        const std::optional<QString> name = input->recordDriverName(i);
        if (!name)
            return fail(input->lastError());
        entries << QStringLiteral("%1 - %2").arg(i).arg(*name);
    }
    return true;
}

bool AudioSampler::startRun(int device, bool bothSides, bool removeOwnClick)
{
    if (!input || !detector || !input->hasSystem())
        return fail(QStringLiteral("The audio system is not open"));
    running = true;
    lastPosition = 0;
    removing = removeOwnClick;
    remover.reset();
    captureClock.reset();
    capturedFrames = 0;
    heardFrames = 0;
    lastRecorded = 0;
    laps = 0;
    if (!input->setRecordDriver(device) || !input->createRecordingSound() || !input->startRecording())
        return fail(input->lastError());
    detectorId = detector->create();
    if (detectorId == 0)
        return fail(detector->lastError());
    if (bothSides) {
        rightDetectorId = detector->create();
        if (rightDetectorId == 0)
            return fail(detector->lastError());
    }
    const std::optional<quint32> length = input->soundLengthFrames();
    if (!length || *length == 0)
        return fail(length ? QStringLiteral("The recording buffer is empty") : input->lastError());
    bufferLength = *length;
    return true;
}

void AudioSampler::addOwnClick(OwnClickRemover::Click click)
{
    if (running && removing)
        remover.addClick(std::move(click));
}

double AudioSampler::lastHeardSeconds() const
{
    const CaptureClock &line = removing ? remover.clock() : captureClock;
    return line.seconds(double(heardFrames) - 1);
}

AudioSampler::PollOutcome AudioSampler::poll(BlockPeaks &peaks, double readySeconds)
{
    peaks = {};
    if (!running || !input)
        return PollOutcome::NoNewAudio;
    const std::optional<quint32> position = input->recordPosition();
    if (!position) {
        fail(input->lastError());
        return PollOutcome::Failed;
    }
    // Where the engine counts every frame, a whole loop or more since the last read shows: the
    // position alone cannot tell two laps from none.
    if (const std::optional<quint64> recorded = input->recordedFrames()) {
        const bool lapped = *recorded - lastRecorded >= bufferLength;
        lastRecorded = *recorded;
        if (lapped) {
            ++laps;
            lastPosition = quint32(*recorded % bufferLength);
            return PollOutcome::NoNewAudio;
        }
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
    capturedFrames += frames;
    const std::vector<qint16> *heard = &block;
    if (removing) {
        clean.clear();
        remover.push(block, readySeconds, clean);
        heard = &clean;
    } else {
        captureClock.add(capturedFrames, readySeconds);
    }
    heardFrames += qint64(heard->size() / 2);
    peaks = analyseBlock(*heard, detector.get(), detectorId, rightDetectorId);
    return PollOutcome::Block;
}

float AudioSampler::detectorValue(int32_t index, int side) const
{
    const int32_t handle = side == 0 ? detectorId : rightDetectorId;
    if (!detector || handle == 0)
        return 0.0f;
    return detector->parameter(handle, index);
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
    if (detector && rightDetectorId != 0)
        detector->destroy(rightDetectorId);
    detectorId = 0;
    rightDetectorId = 0;
    remover.reset();
}

void AudioSampler::closeSystem()
{
    endRun();
    if (input)
        input->closeSystem();
}

} // namespace pulsivar
