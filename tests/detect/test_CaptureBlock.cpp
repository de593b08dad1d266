// SPDX-License-Identifier: GPL-2.0-or-later
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

    void twoDecksGetOneSideEach()
    {
        FakeBeatDetector detector;
        const int32_t left = detector.create();
        const int32_t right = detector.create();
        analyseBlock({1, 2, 3, 4, 5, 6}, &detector, left, right);
        QCOMPARE(detector.samplesOf[left], (std::vector<float>{1, 3, 5}));
        QCOMPARE(detector.samplesOf[right], (std::vector<float>{2, 4, 6}));
    }

    void sameSignalOnBothSides_data()
    {
        QTest::addColumn<int>("rightOffset");
        QTest::addColumn<bool>("same");
        QTest::newRow("identical") << 0 << true;
        QTest::newRow("a quantisation step apart") << 1 << true;
        QTest::newRow("another deck") << 5000 << false;
    }
    void sameSignalOnBothSides()
    {
        QFETCH(int, rightOffset);
        QFETCH(bool, same);
        SameSignalCheck check;
        std::vector<qint16> block;
        for (int i = 0; i < 44100; ++i) {
            const auto left = qint16(8000 * std::sin(i * 0.05));
            block.push_back(left);
            block.push_back(qint16(rightOffset > 1 ? 8000 * std::sin(i * 0.031) : left + rightOffset));
        }
        QVERIFY(!check.judged());
        check.add(analyseBlock(block, nullptr, 0));
        QVERIFY(check.judged());
        QCOMPARE(check.sameOnBothSides(), same);
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

    void aChosenDeviceIsFoundAgainByName_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("found");
        const QStringList now{"0 - Built-in Audio", "1 - Monitor of Speakers (2)", "2 - USB - Deck B"};
        QTest::newRow("same name, another number") << now << "5 - Built-in Audio" << 0;
        QTest::newRow("came back as (2)") << now << "1 - Monitor of Speakers" << 1;
        QTest::newRow("a dash in the name") << now << "3 - USB - Deck B" << 2;
        QTest::newRow("gone") << now << "1 - Line In" << -1;
        QTest::newRow("exact name before a renamed one")
            << QStringList{"0 - Mic (2)", "1 - Mic"} << "4 - Mic" << 1;
        QTest::newRow("(2) chosen, back without it") << QStringList{"0 - Mic"} << "2 - Mic (2)" << 0;
    }
    void aChosenDeviceIsFoundAgainByName()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, chosen);
        QFETCH(int, found);
        QCOMPARE(findDeviceEntry(entries, chosen), found);
    }
};

QTEST_APPLESS_MAIN(CaptureBlockTest)
#include "test_CaptureBlock.moc"
