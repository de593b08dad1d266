// SPDX-License-Identifier: GPL-2.0-or-later
// What each poll of the detector shows: tempo, accuracy, peak level and the beat light.
#include "detect/DetectionDisplay.h"

#include <QtTest>

using namespace pulsivar;

namespace {
DetectorReading reading(float tempo, float confidence = 0, float marker = 0)
{
    return {tempo, confidence, marker};
}
} // namespace

class DetectionDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void tempoLabel_data()
    {
        QTest::addColumn<float>("tempo");
        QTest::addColumn<QString>("label");
        QTest::newRow("two decimals") << 127.456f << "127.46 BPM";
        QTest::newRow("whole") << 95.0f << "95.00 BPM";
        QTest::newRow("none yet") << 0.0f << "00.00 BPM";
        QTest::newRow("slow") << 7.5f << "07.50 BPM";
    }
    void tempoLabel()
    {
        QFETCH(float, tempo);
        QFETCH(QString, label);
        DetectionDisplay display;
        const DisplayChanges changes = display.pollWithSound(reading(tempo), 0, true, false);
        QCOMPARE(changes.bpmLabel.value_or("unchanged"), label);
    }

    void accuracyLabel_data()
    {
        QTest::addColumn<float>("confidence");
        QTest::addColumn<QString>("label");
        QTest::newRow("10.2 x 3") << 10.2f << "31% Accuracy";
        QTest::newRow("half to even") << 1.5f << "04% Accuracy";
        QTest::newRow("capped") << 40.0f << "100% Accuracy";
        QTest::newRow("none") << 0.0f << "00% Accuracy";
    }
    void accuracyLabel()
    {
        QFETCH(float, confidence);
        QFETCH(QString, label);
        DetectionDisplay display;
        const DisplayChanges changes = display.pollWithSound(reading(120, confidence), 0, true, false);
        QCOMPARE(changes.accuracyLabel.value_or("unchanged"), label);
    }

    void peakLabel_data()
    {
        QTest::addColumn<int>("peak");
        QTest::addColumn<QString>("label");
        QTest::newRow("half") << 16384 << "50.0% Peak VU";
        QTest::newRow("low") << 1000 << "03.1% Peak VU";
        QTest::newRow("full") << 32767 << "100.0% Peak VU";
    }
    void peakLabel()
    {
        QFETCH(int, peak);
        QFETCH(QString, label);
        QCOMPARE(peakLabelText(peak), label);
    }

    void theSameValuesUpdateNothing()
    {
        DetectionDisplay display;
        display.pollWithSound(reading(127.456f, 10.2f, 3.2f), 1000, true, true);
        const DisplayChanges again = display.pollWithSound(reading(127.456f, 10.2f, 3.7f), 1000, false, true);
        QVERIFY(!again.bpmLabel);
        QVERIFY(!again.accuracyLabel);
        QVERIFY(!again.peakLabel);
        QVERIFY(!again.applyTempo);
        QCOMPARE(display.msDetectedBPM, QString("127.456"));
    }

    void thePeakLabelOnlyRises()
    {
        DetectionDisplay display;
        QVERIFY(display.pollWithSound(reading(0), 16384, true, false).peakLabel);
        QVERIFY(!display.pollWithSound(reading(0), 16384, true, false).peakLabel);
        QCOMPARE(display.pollWithSound(reading(0), 32767, true, false).peakLabel.value_or(""),
                 QString("100.0% Peak VU"));
    }

    void theBeatLightFlashesForOnePoll()
    {
        DetectionDisplay display;
        using Light = DisplayChanges::Light;
        QCOMPARE(display.pollWithSound(reading(0, 0, 1.2f), 0, true, false).light, Light::Flash);
        QCOMPARE(display.pollWithSound(reading(0, 0, 1.9f), 0, false, false).light, Light::White);
        QCOMPARE(display.pollWithSound(reading(0, 0, 1.9f), 0, true, false).light, Light::Keep);
        QCOMPARE(display.pollWithSound(reading(0, 0, 2.0f), 0, true, false).light, Light::Flash);
    }

    void holdAppliesEachNewTempoButNotTheZeroBeforeOne()
    {
        DetectionDisplay display;
        QVERIFY(!display.pollWithSound(reading(0), 0, true, true).applyTempo);
        QVERIFY(display.pollWithSound(reading(128.2f), 0, true, true).applyTempo);
        QVERIFY(!display.pollWithSound(reading(128.2f), 0, true, true).applyTempo);
        QVERIFY(!display.pollWithSound(reading(129.0f), 0, true, false).applyTempo);
    }

    void aValueThatIsNoNumberIsSkipped()
    {
        DetectionDisplay display;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const DisplayChanges changes = display.pollWithSound(reading(nan, nan, nan), 0, true, true);
        QVERIFY(!changes.bpmLabel);
        QVERIFY(!changes.accuracyLabel);
        QCOMPARE(changes.light, DisplayChanges::Light::Keep);
    }};

QTEST_APPLESS_MAIN(DetectionDisplayTest)
#include "test_DetectionDisplay.moc"
