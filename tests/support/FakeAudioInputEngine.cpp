// SPDX-License-Identifier: GPL-2.0-or-later
#include "FakeAudioInputEngine.h"

namespace pulsivar::test {

FakeAudioInputEngine::FakeAudioInputEngine() : ring(bufferFrames * channels, 0) {}

bool FakeAudioInputEngine::step(const QString &name, const QString &arguments)
{
    calls << (arguments.isEmpty() ? name : name + QLatin1Char(' ') + arguments);
    if (!failing.contains(name))
        return true;
    error = QStringLiteral("%1 failed").arg(name);
    return false;
}

void FakeAudioInputEngine::record(const std::vector<qint16> &interleaved)
{
    if (!isRecording || deviceLost)
        return;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += channels) {
        ring[position * channels] = interleaved[i];
        ring[position * channels + 1] = interleaved[i + 1];
        position = (position + 1) % bufferFrames;
        ++recorded;
    }
}

void FakeAudioInputEngine::recordFrames(quint32 frameCount, qint16 left, qint16 right)
{
    std::vector<qint16> samples;
    samples.reserve(std::size_t{frameCount} * channels);
    for (quint32 i = 0; i < frameCount; ++i) {
        samples.push_back(left);
        samples.push_back(right);
    }
    record(samples);
}

bool FakeAudioInputEngine::load()
{
    if (!step(QStringLiteral("load")))
        return false;
    loaded = true;
    return true;
}

bool FakeAudioInputEngine::createSystem()
{
    if (!step(QStringLiteral("createSystem")) || !loaded)
        return false;
    system = 1;
    return true;
}

std::optional<int> FakeAudioInputEngine::recordDriverCount()
{
    if (!step(QStringLiteral("recordDriverCount")) || system == 0)
        return std::nullopt;
    return static_cast<int>(driverNames.size());
}

std::optional<QString> FakeAudioInputEngine::recordDriverName(int index)
{
    if (!step(QStringLiteral("recordDriverName"), QString::number(index)) || system == 0
        || index < 0 || index >= driverNames.size())
        return std::nullopt;
    return driverNames.at(index);
}

bool FakeAudioInputEngine::initSystem()
{
    if (!step(QStringLiteral("initSystem")) || system == 0)
        return false;
    initialised = true;
    return true;
}

bool FakeAudioInputEngine::setRecordDriver(int index)
{
    if (!step(QStringLiteral("setRecordDriver"), QString::number(index)) || system == 0
        || index < 0 || index >= driverNames.size())
        return false;
    driver = index;
    return true;
}

bool FakeAudioInputEngine::createRecordingSound()
{
    if (!step(QStringLiteral("createRecordingSound")) || !initialised)
        return false;
    sound = 2;
    return true;
}

bool FakeAudioInputEngine::startRecording()
{
    if (!step(QStringLiteral("startRecording")) || sound == 0)
        return false;
    std::fill(ring.begin(), ring.end(), qint16{0});
    position = 0;
    recorded = 0;
    deviceLost = false;
    isRecording = true;
    return true;
}

std::optional<quint32> FakeAudioInputEngine::soundLengthFrames()
{
    if (!step(QStringLiteral("soundLengthFrames")) || sound == 0)
        return std::nullopt;
    return bufferFrames;
}

std::optional<quint32> FakeAudioInputEngine::recordPosition()
{
    // Polled every few milliseconds; logging each poll would drown the interesting calls.
    if (failing.contains(QStringLiteral("recordPosition")) || deviceLost) {
        error = QStringLiteral("recordPosition failed");
        return std::nullopt;
    }
    return position;
}

bool FakeAudioInputEngine::readFrames(quint32 startFrame, quint32 frameCount,
                                      std::vector<qint16> &samples)
{
    samples.clear();
    if (!step(QStringLiteral("readFrames"),
              QStringLiteral("%1 %2").arg(startFrame).arg(frameCount))
        || sound == 0 || startFrame >= bufferFrames || frameCount > bufferFrames)
        return false;
    samples.reserve(std::size_t{frameCount} * channels);
    for (quint32 i = 0; i < frameCount; ++i) {
        const quint32 frame = (startFrame + i) % bufferFrames;
        samples.push_back(ring[frame * channels]);
        samples.push_back(ring[frame * channels + 1]);
    }
    return true;
}

bool FakeAudioInputEngine::update()
{
    if (failing.contains(QStringLiteral("update")) || deviceLost) {
        error = QStringLiteral("update failed");
        return false;
    }
    return true;
}

bool FakeAudioInputEngine::stopRecording()
{
    isRecording = false;
    return step(QStringLiteral("stopRecording"));
}

bool FakeAudioInputEngine::releaseSound()
{
    sound = 0;
    return step(QStringLiteral("releaseSound"));
}

bool FakeAudioInputEngine::closeSystem()
{
    isRecording = false;
    initialised = false;
    sound = 0;
    system = 0;
    return step(QStringLiteral("closeSystem"));
}

} // namespace pulsivar::test
