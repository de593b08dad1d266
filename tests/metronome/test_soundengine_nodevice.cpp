// SPDX-License-Identifier: GPL-2.0-or-later
// With no audio output at all the beat sound is silent and nothing fails.
#include "TestEnvironment.h"
#include "metronome/BeatSound.h"
#include "metronome/SoundEngineSdl.h"
#include "metronome/WaveFiles.h"

#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

class NoDeviceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("SDL_AUDIODRIVER", "no-such-driver"); }

    void silentWithoutAnOutput()
    {
        TestEnvironment env;
        QVERIFY(ExtractWaveFiles());
        SdlBeatSoundEngine engine;
        engine.prepare();
        QVERIFY(!engine.isOpen());
        QVERIFY(!engine.play(plainWavePath(), steadySeconds()));
        engine.stop();
        engine.checkDevice();
        QVERIFY(!engine.isOpen());
    }

    void playWaveFileStaysQuiet()
    {
        TestEnvironment env;
        QVERIFY(ExtractWaveFiles());
        PrepareBeatSound();
        PlayWaveFile(plainWavePath());
        PlayWaveFileAt(accentWavePath(), steadySeconds());
        StopBeatSound();
        releaseBeatSoundEngine();
    }
};

QTEST_GUILESS_MAIN(NoDeviceTest)
#include "test_soundengine_nodevice.moc"
