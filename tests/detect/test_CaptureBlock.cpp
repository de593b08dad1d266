// The capture loop's block arithmetic: which frames are new, what reaches the detector and meters.
#include "detect/CaptureBlock.h"
#include "FakeBeatDetector.h"

#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

class CaptureBlockTest : public QObject {
    Q_OBJECT
private slots:
    void framesSinceTheLastRead_data()
    {
        QTest::addColumn<quint32>("previous");
        QTest::addColumn<quint32>("position");
        QTest::addColumn<quint32>("frames");
        QTest::newRow("first block") << 0u << 441u << 441u;
        QTest::newRow("no new audio") << 500u << 500u << 0u;
        QTest::newRow("up to the last frame") << 88000u << 88199u << 199u;
        QTest::newRow("round the end") << 88000u << 200u << 400u;
        QTest::newRow("round the end to 0") << 88000u << 0u << 200u;
    }
    void framesSinceTheLastRead()
    {
        QFETCH(quint32, previous);
        QFETCH(quint32, position);
        QFETCH(quint32, frames);
        QCOMPARE(framesSince(previous, position, 88200), frames);
    }

    void leftSamplesGoToTheDetectorInOrderAndEachChannelHasItsPeak()
    {
        FakeBeatDetector detector;
        const int32_t handle = detector.create();
        const std::vector<qint16> block{100, -5, -32768, 7000, 32767, 200, 12, 300};
        const BlockPeaks peaks = analyseBlock(block, &detector, handle);
        QCOMPARE(detector.samples, (std::vector<float>{100, -32768, 32767, 12}));
        QCOMPARE(peaks.left, 32767);
        QCOMPARE(peaks.right, 7000);
    }

    void negativeOnlyAudioPeaksAtZero()
    {
        const BlockPeaks peaks = analyseBlock({-20000, -1, -30000, -2}, nullptr, 0);
        QCOMPARE(peaks.left, 0);
        QCOMPARE(peaks.right, 0);
    }

    void deviceNumberOfAnEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("device");
        QTest::newRow("first") << "0 - Monitor of Built-in Audio Analog Stereo" << 0;
        QTest::newRow("two digits") << "12 - USB Line In" << 12;
        QTest::newRow("failure line") << "Could not initialize Audio Engine" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void deviceNumberOfAnEntry()
    {
        QFETCH(QString, entry);
        QFETCH(int, device);
        QCOMPARE(deviceIndexOfEntry(entry), device);
    }
};

QTEST_APPLESS_MAIN(CaptureBlockTest)
#include "test_CaptureBlock.moc"
