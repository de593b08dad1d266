// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/BeatSound.h"

#include "common/Clock.h"
#include "metronome/SoundEngineSdl.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <memory>

namespace pulsivar {

namespace {
BeatSoundEngine *installed = nullptr;
std::unique_ptr<SdlBeatSoundEngine> realEngine;
} // namespace

bool isPlayableWaveFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    // Checked before the file system is touched.
    if (path.right(3).toUpper() != QLatin1String("WAV"))
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

void PlayWaveFileAt(const QString &path, double dueMonotonicSeconds)
{
    if (!isPlayableWaveFile(path))
        return;
    beatSoundEngine().play(path, dueMonotonicSeconds);
}

void PlayWaveFile(const QString &path)
{
    if (!isPlayableWaveFile(path))
        return;
    beatSoundEngine().play(path, clock().monotonicSeconds());
}

void PrepareBeatSound() { beatSoundEngine().prepare(); }

void StopBeatSound() { beatSoundEngine().stop(); }

BeatSoundEngine &beatSoundEngine()
{
    if (installed)
        return *installed;
    if (!realEngine) {
        realEngine = std::make_unique<SdlBeatSoundEngine>();
        // Closed with the application, while Qt and the audio thread are still there to stop.
        static const bool releaseAtExit = [] {
            if (QCoreApplication::instance())
                qAddPostRoutine(releaseBeatSoundEngine);
            return true;
        }();
        (void)releaseAtExit;
    }
    return *realEngine;
}

void setBeatSoundEngine(BeatSoundEngine *engine) { installed = engine; }

void releaseBeatSoundEngine() { realEngine.reset(); }

} // namespace pulsivar
