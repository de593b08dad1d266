// SPDX-License-Identifier: GPL-2.0-or-later
// The sound engine's parts: the stream clock, the click mixer, the hand-over queue, decoding,
// and the SDL output on SDL's dummy driver.
#include "MessageRecorder.h"
#include "TestEnvironment.h"
#include "metronome/SoundEngineClock.h"
#include "metronome/SoundEngineMixer.h"
#include "metronome/SoundEngineRing.h"
#include "metronome/SoundEngineSdl.h"
#include "metronome/WaveFiles.h"

#include <QFile>
#include <QtTest>
#include <cmath>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {

constexpr double rate = 44100.0;
constexpr int64_t buffer = 1024;

// Feeds a clock callbacks of a device running ppm fast against the monotonic clock.
void feed(StreamClock &clock, int64_t &frame, double &seconds, int callbacks, double ppm = 0.0)
{
    for (int i = 0; i < callbacks; ++i) {
        clock.update(frame, seconds);
        frame += buffer;
        seconds += buffer / rate / (1.0 + ppm * 1e-6);
    }
}

ClickSound ramp(int length, float start = 1.0f)
{
    ClickSound sound;
    for (int i = 0; i < length; ++i)
        sound.samples.push_back(start + float(i));
    return sound;
}

} // namespace

class SoundEngineTest : public QObject {
    Q_OBJECT

private slots:
    // --- the stream clock

    void firstCallbackAnchorsTheLine()
    {
        StreamClock clock(rate);
        QVERIFY(!clock.isLocked());
        clock.update(2048, 100.0);
        QVERIFY(clock.isLocked());
        QCOMPARE(clock.secondsAtFrame(2048), 100.0);
        QCOMPARE(clock.frameAtSeconds(101.0), 2048 + rate);
        QCOMPARE(clock.secondsAtFrame(clock.frameAtSeconds(123.456)), 123.456);
    }

    void clickStartsAtTheFrameOfDuePlusLatency_data()
    {
        QTest::addColumn<double>("due");
        QTest::addColumn<double>("latency");
        QTest::addColumn<qint64>("frame");
        QTest::newRow("due at the anchor") << 100.0 << 0.0 << qint64(0);
        QTest::newRow("latency 60 ms") << 100.0 << 0.060 << qint64(2646);
        QTest::newRow("half a second later") << 100.5 << 0.060 << qint64(22050 + 2646);
        QTest::newRow("rounds to the nearest frame") << 100.0 + 0.6 / rate << 0.0 << qint64(1);
        QTest::newRow("already past") << 99.9 << 0.060 << qint64(-1764);
    }
    void clickStartsAtTheFrameOfDuePlusLatency()
    {
        QFETCH(double, due);
        QFETCH(double, latency);
        QFETCH(qint64, frame);
        StreamClock clock(rate);
        clock.update(0, 100.0);
        QCOMPARE(clickStartFrame(clock, due, latency), frame);
    }

    void followsADeviceClockThatRunsFast()
    {
        StreamClock clock(rate);
        int64_t frame = 0;
        double seconds = 50.0;
        feed(clock, frame, seconds, 2000, 300.0);  // 46 s
        QVERIFY(std::abs(clock.framesPerSecond() / rate - 1.0003) < 2e-5);
        QVERIFY(std::abs(clock.secondsAtFrame(double(frame)) - seconds) < 50e-6);
    }

    void steadyCallbacksKeepBeatsExactlyApart()
    {
        StreamClock clock(rate);
        int64_t frame = 0;
        double seconds = 50.0;
        feed(clock, frame, seconds, 100);
        const int64_t first = clickStartFrame(clock, seconds, 0.06);
        feed(clock, frame, seconds, 22);
        const int64_t second = clickStartFrame(clock, seconds - 22 * buffer / rate + 0.5, 0.06);
        QCOMPARE(second - first, qint64(22050));
    }

    void aLateWakeupBarelyMovesTheLine()
    {
        StreamClock clock(rate);
        int64_t frame = 0;
        double seconds = 50.0;
        feed(clock, frame, seconds, 100);
        const double before = clock.secondsAtFrame(double(frame));
        clock.update(frame, seconds + 0.004);  // woke 4 ms late
        QVERIFY(std::abs(clock.secondsAtFrame(double(frame)) - before) < 20e-6);
    }

    void aLastingShiftStartsTheLineAgain()
    {
        StreamClock clock(rate);
        int64_t frame = 0;
        double seconds = 50.0;
        feed(clock, frame, seconds, 100);
        seconds += 0.010;  // an underrun: every later callback 10 ms later
        feed(clock, frame, seconds, StreamClock::relockAfterOutliers);
        QVERIFY(std::abs(clock.secondsAtFrame(double(frame)) - seconds) < 1e-4);
    }

    void aJumpStartsTheLineAgainAtOnce()
    {
        StreamClock clock(rate);
        int64_t frame = 0;
        double seconds = 50.0;
        feed(clock, frame, seconds, 10);
        seconds += 0.7;  // the stream starting after the first callback, or a suspend
        clock.update(frame, seconds);
        QCOMPARE(clock.secondsAtFrame(double(frame)), seconds);
    }

    void aBurstAtTheStartDoesNotAnchorTheLine()
    {
        StreamClock clock(rate);
        clock.update(0, 50.0);
        // The output asks for a second buffer at once to fill itself, then keeps time.
        int64_t frame = buffer;
        double seconds = 50.001;
        feed(clock, frame, seconds, 40);
        QVERIFY(std::abs(clock.secondsAtFrame(double(frame)) - seconds) < 50e-6);
    }

    // --- the mixer

    void clickStartsAtItsExactFrame()
    {
        const ClickSound sound = ramp(5);
        ClickMixer mixer(2);
        QVERIFY(mixer.schedule(&sound, 1000 + 7, 1));
        std::vector<float> out(2 * 16, -9.0f);
        mixer.render(out.data(), 16, 1000);
        for (int i = 0; i < 16; ++i) {
            const float expected = i >= 7 && i < 12 ? float(i - 7 + 1) : 0.0f;
            QCOMPARE(out[2 * i], expected);
            QCOMPARE(out[2 * i + 1], expected);
        }
        QVERIFY(mixer.isSilent());
    }

    void clickContinuesIntoTheNextBuffer()
    {
        const ClickSound sound = ramp(6);
        ClickMixer mixer(1);
        mixer.schedule(&sound, 14, 1);
        std::vector<float> first(16), second(16);
        mixer.render(first.data(), 16, 0);
        mixer.render(second.data(), 16, 16);
        QCOMPARE(first[14], 1.0f);
        QCOMPARE(first[15], 2.0f);
        QCOMPARE(second[0], 3.0f);
        QCOMPARE(second[3], 6.0f);
        QCOMPARE(second[4], 0.0f);
    }

    void aLateClickStartsWholeAtOnce()
    {
        const ClickSound sound = ramp(4);
        ClickMixer mixer(1);
        mixer.schedule(&sound, 100, 1);  // its frame went by before the buffer
        std::vector<float> out(8);
        mixer.render(out.data(), 8, 500);
        QCOMPARE(out[0], 1.0f);
        QCOMPARE(out[3], 4.0f);
    }

    void aNewClickCutsOffTheOneSounding()
    {
        ClickSound longSound;
        longSound.samples.assign(10000, 1.0f);
        ClickSound shortSound;
        shortSound.samples.assign(10, 0.0f);
        ClickMixer mixer(1);
        mixer.schedule(&longSound, 0, 1);
        mixer.schedule(&shortSound, 100, 2);
        std::vector<float> out(400);
        mixer.render(out.data(), 400, 0);
        QCOMPARE(out[99], 1.0f);
        // The cut sound fades out instead of stopping dead...
        for (int i = 100; i < 100 + ClickMixer::cutFadeFrames; ++i) {
            QVERIFY(out[i] < out[i - 1]);
            QVERIFY(out[i - 1] - out[i] < 0.05f);
        }
        // ...and is gone after the fade.
        for (int i = 100 + ClickMixer::cutFadeFrames; i < 400; ++i)
            QCOMPARE(out[i], 0.0f);
    }

    void clicksStartInFrameOrderWhateverTheOrderGiven()
    {
        const ClickSound a = ramp(1, 10.0f), b = ramp(1, 20.0f);
        ClickMixer mixer(1);
        mixer.schedule(&b, 20, 2);
        mixer.schedule(&a, 10, 1);
        std::vector<float> out(32);
        mixer.render(out.data(), 32, 0);
        QCOMPARE(out[10], 10.0f);
        QCOMPARE(out[20], 20.0f);
    }

    void stopSilencesAndForgetsWaitingClicks()
    {
        ClickSound sound;
        sound.samples.assign(1000, 1.0f);
        ClickMixer mixer(1);
        mixer.schedule(&sound, 0, 1);
        mixer.schedule(&sound, 500, 2);
        std::vector<float> out(200);
        mixer.render(out.data(), 100, 0);
        mixer.stop();
        mixer.render(out.data(), 200, 100);
        QVERIFY(out[0] > 0.0f);
        QCOMPARE(out[ClickMixer::cutFadeFrames], 0.0f);
        QVERIFY(mixer.isSilent());
        QCOMPARE(mixer.oldestSequenceInUse(), ClickMixer::noSequence);
    }

    void tellsWhichSoundsAreStillInUse()
    {
        const ClickSound sound = ramp(10);
        ClickMixer mixer(1);
        mixer.schedule(&sound, 0, 5);
        mixer.schedule(&sound, 100, 6);
        QCOMPARE(mixer.oldestSequenceInUse(), uint64_t(5));
        std::vector<float> out(50);
        mixer.render(out.data(), 50, 0);  // 5 has played out
        QCOMPARE(mixer.oldestSequenceInUse(), uint64_t(6));
    }

    void refusesClicksBeyondItsQueue()
    {
        const ClickSound sound = ramp(1);
        ClickMixer mixer(1);
        for (int i = 0; i < ClickMixer::maxWaiting; ++i)
            QVERIFY(mixer.schedule(&sound, 1000 + i, uint64_t(i)));
        QVERIFY(!mixer.schedule(&sound, 5000, 99));
        QVERIFY(!mixer.schedule(nullptr, 5000, 100));
    }

    // --- the hand-over queue

    void queueKeepsOrderAndRefusesWhenFull()
    {
        SpscRing<int, 4> ring;
        QVERIFY(!ring.pop());
        for (int i = 1; i <= 4; ++i)
            QVERIFY(ring.push(i));
        QVERIFY(!ring.push(5));
        QCOMPARE(*ring.pop(), 1);
        QVERIFY(ring.push(5));
        for (int i = 2; i <= 5; ++i)
            QCOMPARE(*ring.pop(), i);
        QVERIFY(!ring.pop());
    }

    // --- decoding

    void decodesTheCarriedClicks()
    {
        TestEnvironment env;
        QVERIFY(ExtractWaveFiles());
        const auto plain = decodeWaveFile(plainWavePath(), 44100);
        QVERIFY(plain);
        QCOMPARE(int(plain->samples.size()), 8820);
        float peak = 0.0f;
        for (float v : plain->samples)
            peak = std::max(peak, std::abs(v));
        QVERIFY(peak > 0.5f && peak <= 1.0f);
        // Converted when the output runs at another rate.
        const auto resampled = decodeWaveFile(accentWavePath(), 48000);
        QVERIFY(resampled);
        QVERIFY(std::abs(int(resampled->samples.size()) - 9600) < 64);
    }

    void refusesWhatIsNotAWaveFile()
    {
        TestEnvironment env;
        const QString path = env.programFolder() + QStringLiteral("/fake.wav");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("RIFF this is not a wave file at all");
        f.close();
        QVERIFY(!decodeWaveFile(path, 44100));
        QVERIFY(!decodeWaveFile(env.programFolder() + QStringLiteral("/absent.wav"), 44100));
    }

    // --- the SDL output on the dummy driver

    void playsOnTheDummyDriverWithoutHarm()
    {
        TestEnvironment env;
        QVERIFY(ExtractWaveFiles());
        SdlBeatSoundEngine engine;
        engine.prepare();
        QVERIFY(engine.isOpen());
        const double now = steadySeconds();
        // More clicks than the queue between the threads holds, so finished sounds get released.
        int accepted = 0;
        for (int i = 0; i < 200; ++i) {
            accepted += engine.play(i % 2 ? accentWavePath() : plainWavePath(), now + i * 0.001) ? 1 : 0;
            if (i % 20 == 0)
                QTest::qWait(30);
        }
        QVERIFY(accepted > 100);
        engine.stop();
        engine.checkDevice();
        QVERIFY(engine.isOpen());
        QVERIFY(!engine.play(env.programFolder() + QStringLiteral("/absent.wav"), now));
    }

    void aChangedFileIsDecodedAgain()
    {
        TestEnvironment env;
        QVERIFY(ExtractWaveFiles());
        SdlBeatSoundEngine engine;
        QVERIFY(engine.play(plainWavePath(), steadySeconds()));
        QFile f(plainWavePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a wave any more");
        f.close();
        QVERIFY(!engine.play(plainWavePath(), steadySeconds()));
    }

    // A sound file that cannot play is remembered until it changes, and said once why.
    void aFailedFileIsNotReadAgainUntilItChanges_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("decodes");
        QTest::addColumn<QString>("said");
        QTest::newRow("undecodable") << qint64(0) << 1 << QStringLiteral("not a wave file");
        QTest::newRow("100 MB, refused unread") << qint64(100) * 1024 * 1024 << 0 << QStringLiteral("larger than 5 MB");
    }
    void aFailedFileIsNotReadAgainUntilItChanges()
    {
        QFETCH(qint64, size);
        QFETCH(int, decodes);
        QFETCH(QString, said);
        TestEnvironment env;
        QVERIFY(ExtractWaveFiles());
        QFile f(plainWavePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("RIFF not a wave");
        QVERIFY(size == 0 || f.resize(size));
        f.close();
        SdlBeatSoundEngine engine;
        for (int i = 0; i < 20; ++i)
            QVERIFY(!engine.setBeatSounds(plainWavePath(), accentWavePath()));
        QCOMPARE(engine.decodeCount(), decodes + 1);
        const QString problem = engine.takeSoundProblem();
        QVERIFY2(problem.contains(said) && problem.contains(plainWaveFileName), qPrintable(problem));
        QVERIFY(engine.takeSoundProblem().isEmpty());

        QVERIFY(QFile::remove(plainWavePath()) && QFile::copy(accentWavePath(), plainWavePath()));
        QVERIFY(engine.setBeatSounds(plainWavePath(), accentWavePath()));
        QCOMPARE(engine.decodeCount(), decodes + 2);
        QVERIFY(engine.takeSoundProblem().isEmpty());
    }
};

QTEST_GUILESS_MAIN(SoundEngineTest)
#include "test_soundengine.moc"
