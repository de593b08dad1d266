// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the capture loop needs of an audio input engine: list inputs, record into a loop, read it.
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace pulsivar {

class AudioInputEngine {
public:
    // The one recording format: 44,100 Hz, 16-bit, 2 interleaved channels (left first),
    // in a looping buffer of 2 seconds.
    static constexpr int sampleRate = 44100;
    static constexpr int channels = 2;
    static constexpr quint32 bytesPerFrame = 4;
    static constexpr quint32 bufferFrames = 88200;
    static constexpr quint32 bufferBytes = bufferFrames * bytesPerFrame;

    virtual ~AudioInputEngine() = default;

    // Makes the engine usable; false when its module is missing or does not load.
    virtual bool load() = 0;
    // Creates the audio system and sets the recording format.
    virtual bool createSystem() = 0;
    virtual bool hasSystem() const = 0;
    virtual std::optional<int> recordDriverCount() = 0;
    // The device's name up to its first zero byte.
    virtual std::optional<QString> recordDriverName(int index) = 0;
    virtual bool initSystem() = 0;
    virtual bool setRecordDriver(int index) = 0;
    // The looping 2-second sound that recording fills; replaces one made before.
    virtual bool createRecordingSound() = 0;
    virtual bool startRecording() = 0;
    virtual std::optional<quint32> soundLengthFrames() = 0;
    // Where recording writes next, in frames; fails once the device is gone.
    virtual std::optional<quint32> recordPosition() = 0;
    // Frames recorded since recording started, laps of the loop included (the record position is
    // this modulo the length); nullopt where the engine does not count them.
    virtual std::optional<quint64> recordedFrames() { return std::nullopt; }
    // Copies frameCount frames from startFrame into samples (interleaved), continuing from the
    // start of the buffer when the range wraps past its end, so no recorded frame is skipped.
    virtual bool readFrames(quint32 startFrame, quint32 frameCount,
                            std::vector<qint16> &samples) = 0;
    // Housekeeping after each read; fails once the device is gone.
    virtual bool update() = 0;
    virtual bool stopRecording() = 0;
    virtual bool releaseSound() = 0;
    // Closes and releases the audio system, and with it any sound.
    virtual bool closeSystem() = 0;

    // The handles of the system and sound, 0 when there is none.
    virtual qint32 systemHandle() const = 0;
    virtual qint32 soundHandle() const = 0;
    // Why the last failing step failed, for an "Error Description: " line.
    virtual QString lastError() const = 0;
};

} // namespace pulsivar
