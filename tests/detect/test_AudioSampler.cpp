// SPDX-License-Identifier: GPL-2.0-or-later
// The engine side of a sampling run, over the in-memory engine and detector.
#include "detect/AudioSampler.h"
#include "FakeAudioInputEngine.h"
#include "FakeBeatDetector.h"

#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
struct Rig {
    Rig()
    {
        auto engine = std::make_unique<FakeAudioInputEngine>();
        auto beats = std::make_unique<FakeBeatDetector>();
        input = engine.get();
        detector = beats.get();
        input->driverNames = {"Monitor of Null Output", "Line In"};
        sampler = std::make_unique<AudioSampler>(std::move(engine), std::move(beats));
    }
    bool start(int device = 0)
    {
        QStringList entries;
        return sampler->initEngine(entries) && sampler->startRun(device);
    }
    FakeAudioInputEngine *input = nullptr;
    FakeBeatDetector *detector = nullptr;
    std::unique_ptr<AudioSampler> sampler;
};
} // namespace

class AudioSamplerTest : public QObject {
    Q_OBJECT
private slots:
    void listsEveryInputByNumberAndName()
    {
        Rig rig;
        QStringList entries;
        QVERIFY(rig.sampler->initEngine(entries));
        QCOMPARE(entries, (QStringList{"0 - Monitor of Null Output", "1 - Line In"}));
        QVERIFY(rig.sampler->systemHandle() > 0);
    }

    void aStepThatFailsEndsTheStartUp_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("listed");
        QTest::newRow("module") << "load" << 0;
        QTest::newRow("system") << "createSystem" << 0;
        QTest::newRow("init") << "initSystem" << 2;
    }
    void aStepThatFailsEndsTheStartUp()
    {
        QFETCH(QString, step);
        QFETCH(int, listed);
        Rig rig;
        rig.input->failing << step;
        QStringList entries;
        QVERIFY(!rig.sampler->initEngine(entries));
        QCOMPARE(entries.size(), listed);
        QCOMPARE(rig.sampler->lastError(), step + " failed");
    }

    void aDetectorModuleThatDoesNotLoadEndsTheStartUp()
    {
        Rig rig;
        rig.detector->loadFails = true;
        QStringList entries;
        QVERIFY(!rig.sampler->initEngine(entries));
        QCOMPARE(rig.sampler->lastError(), QString("detector missing"));
    }

    void eachNewBlockOnceAndInOrder()
    {
        Rig rig;
        QVERIFY(rig.start());
        BlockPeaks peaks;
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::NoNewAudio);
        rig.input->recordFrames(300, 1000, 2000);
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Block);
        QCOMPARE(peaks.left, 1000);
        QCOMPARE(peaks.right, 2000);
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::NoNewAudio);
        rig.input->recordFrames(200, 3000, 10);
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Block);
        QCOMPARE(peaks.left, 3000);
        QVERIFY(rig.input->calls.contains("readFrames 0 300"));
        QVERIFY(rig.input->calls.contains("readFrames 300 200"));
        QCOMPARE(rig.detector->samples.size(), std::size_t(500));
        QCOMPARE(rig.detector->samples.back(), 3000.0f);
    }

    void aBlockRoundTheEndOfTheBufferIsAnalysedWhole()
    {
        Rig rig;
        QVERIFY(rig.start());
        BlockPeaks peaks;
        rig.input->recordFrames(88000, 0, 0);
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Block);
        rig.detector->samples.clear();
        // 200 frames fill the end of the ring, the next 200 land at its start.
        std::vector<qint16> wrapping;
        for (int i = 0; i < 400; ++i) {
            wrapping.push_back(qint16(i + 1));
            wrapping.push_back(qint16(i < 200 ? 0 : 5000));
        }
        rig.input->record(wrapping);
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Block);
        QVERIFY(rig.input->calls.contains("readFrames 88000 400"));
        QCOMPARE(rig.detector->samples.size(), std::size_t(400));
        for (int i = 0; i < 400; ++i)
            QCOMPARE(rig.detector->samples[std::size_t(i)], float(i + 1));
        QCOMPARE(peaks.left, 400);
        QCOMPARE(peaks.right, 5000);
    }

    // The position alone cannot tell a reader a whole loop behind from one that is up to date.
    void aReaderAWholeLoopBehindNoticesItWasLapped_data()
    {
        QTest::addColumn<quint32>("behind");
        QTest::addColumn<int>("laps");
        QTest::newRow("one frame short of a loop") << AudioInputEngine::bufferFrames - 1 << 0;
        QTest::newRow("exactly a loop") << AudioInputEngine::bufferFrames << 1;
        QTest::newRow("two loops and a bit") << 2 * AudioInputEngine::bufferFrames + 7 << 1;
    }
    void aReaderAWholeLoopBehindNoticesItWasLapped()
    {
        QFETCH(quint32, behind);
        QFETCH(int, laps);
        Rig rig;
        QVERIFY(rig.start());
        BlockPeaks peaks;
        rig.input->recordFrames(300, 1, 1);
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Block);
        rig.detector->samples.clear();
        rig.input->recordFrames(behind, 2, 2);
        QCOMPARE(rig.sampler->poll(peaks), laps ? AudioSampler::PollOutcome::NoNewAudio : AudioSampler::PollOutcome::Block);
        QCOMPARE(rig.sampler->lapCount(), laps);
        QCOMPARE(rig.detector->samples.size(), std::size_t(laps ? 0 : behind));
        // Reading goes on from where recording is now.
        rig.input->recordFrames(50, 3, 3);
        rig.detector->samples.clear();
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Block);
        QCOMPARE(rig.detector->samples.size(), std::size_t(50));
        QCOMPARE(rig.detector->samples.front(), 3.0f);
    }

    void aLostDeviceFailsThePoll()
    {
        Rig rig;
        QVERIFY(rig.start());
        rig.input->loseDevice();
        BlockPeaks peaks;
        QCOMPARE(rig.sampler->poll(peaks), AudioSampler::PollOutcome::Failed);
        QCOMPARE(rig.sampler->lastError(), QString("recordPosition failed"));
    }

    void aRunThatCannotStartSaysWhy_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("device") << "setRecordDriver";
        QTest::newRow("sound") << "createRecordingSound";
        QTest::newRow("recording") << "startRecording";
    }
    void aRunThatCannotStartSaysWhy()
    {
        QFETCH(QString, step);
        Rig rig;
        QStringList entries;
        QVERIFY(rig.sampler->initEngine(entries));
        rig.input->failing << step;
        QVERIFY(!rig.sampler->startRun(0));
        QCOMPARE(rig.sampler->lastError(), step + " failed");
        rig.sampler->endRun();
        QVERIFY(!rig.input->recording());
        QVERIFY(rig.detector->live.isEmpty());
    }

    void aDetectorThatCannotBeMadeFailsTheRun()
    {
        Rig rig;
        rig.detector->createFails = true;
        QVERIFY(!rig.start());
        QCOMPARE(rig.sampler->detectorHandle(), 0);
    }
};

QTEST_APPLESS_MAIN(AudioSamplerTest)
#include "test_AudioSampler.moc"
