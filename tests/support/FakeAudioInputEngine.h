// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An in-memory audio input engine: tests choose its devices, feed its recording and make steps fail.
#include "detect/AudioInputEngine.h"

#include <QSet>
#include <QStringList>

namespace pulsivar::test {

class FakeAudioInputEngine final : public AudioInputEngine {
public:
    FakeAudioInputEngine();

    // What the test sets up.
    QStringList driverNames;
    // Steps that fail, by the name of the method ("load", "createSystem", "readFrames", ...).
    QSet<QString> failing;

    // Every call in order, with its arguments where it has any ("setRecordDriver 1",
    // "readFrames 88000 400").
    QStringList calls;

    // Records interleaved samples at the record position, wrapping like the real loop.
    void record(const std::vector<qint16> &interleaved);
    // Records frames of constant left and right values.
    void recordFrames(quint32 frameCount, qint16 left, qint16 right);
    // The device goes away: the position stops and reading it or updating fails.
    void loseDevice() { deviceLost = true; }
    bool recording() const { return isRecording; }
    int selectedDriver() const { return driver; }
    const std::vector<qint16> &buffer() const { return ring; }

    bool load() override;
    bool createSystem() override;
    bool hasSystem() const override { return system != 0; }
    std::optional<int> recordDriverCount() override;
    std::optional<QString> recordDriverName(int index) override;
    bool initSystem() override;
    bool setRecordDriver(int index) override;
    bool createRecordingSound() override;
    bool startRecording() override;
    std::optional<quint32> soundLengthFrames() override;
    std::optional<quint32> recordPosition() override;
    std::optional<quint64> recordedFrames() override { return recorded; }
    bool readFrames(quint32 startFrame, quint32 frameCount, std::vector<qint16> &samples) override;
    bool update() override;
    bool stopRecording() override;
    bool releaseSound() override;
    bool closeSystem() override;
    qint32 systemHandle() const override { return system; }
    qint32 soundHandle() const override { return sound; }
    QString lastError() const override { return error; }

private:
    // Logs the call; false when the test made this step fail.
    bool step(const QString &name, const QString &arguments = {});

    bool loaded = false;
    bool initialised = false;
    bool isRecording = false;
    bool deviceLost = false;
    qint32 system = 0;
    qint32 sound = 0;
    int driver = 0;
    quint32 position = 0;
    quint64 recorded = 0;
    std::vector<qint16> ring;
    QString error;
};

} // namespace pulsivar::test
