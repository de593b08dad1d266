// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The audio input engine backed by the fmodex.dll module in the program folder.
#include "detect/AudioInputEngine.h"
#include "detect/AudioInputLibrary.h"

namespace pulsivar {

class ModuleAudioInputEngine final : public AudioInputEngine {
public:
    // An empty path means the module in the program folder.
    explicit ModuleAudioInputEngine(QString modulePath = {});
    ~ModuleAudioInputEngine() override;
    ModuleAudioInputEngine(const ModuleAudioInputEngine &) = delete;
    ModuleAudioInputEngine &operator=(const ModuleAudioInputEngine &) = delete;

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
    std::optional<quint64> recordedFrames() override;
    bool readFrames(quint32 startFrame, quint32 frameCount, std::vector<qint16> &samples) override;
    bool update() override;
    bool stopRecording() override;
    bool releaseSound() override;
    bool closeSystem() override;
    qint32 systemHandle() const override { return system; }
    qint32 soundHandle() const override { return sound; }
    QString lastError() const override { return error; }

private:
    // Keeps the description of a failed result; true on success.
    bool succeeded(int32_t result);
    bool fail(const QString &why);

    QString path;
    AudioInputLibrary library;
    qint32 system = 0;
    qint32 sound = 0;
    QString error;
};

} // namespace pulsivar
