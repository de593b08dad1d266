// SPDX-License-Identifier: GPL-2.0-or-later
// The channels' tempo rules: conversions, limits, the tap run and its expiry.
#include "tempo/TempoChannels.h"
#include "tempo/TempoUnits.h"
#include <QtTest>

using namespace pulsivar;

class TempoChannelsTest : public QObject {
    Q_OBJECT
private slots:
    void intervalToBpm_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("bpm");
        QTest::newRow("500") << 500 << 120;
        QTest::newRow("469") << 469 << 128;
        QTest::newRow("240") << 240 << 250;
        QTest::newRow("2000") << 2000 << 30;
        QTest::newRow("zero counts as one") << 0 << 60000;
        QTest::newRow("2033") << 2033 << 30;
        QTest::newRow("2034") << 2034 << 29;
        QTest::newRow("half to even") << 480 << 125;
    }
    void intervalToBpm()
    {
        QFETCH(int, interval);
        QFETCH(int, bpm);
        QCOMPARE(IntervalToBPM(interval), bpm);
    }

    void bpmToInterval_data()
    {
        QTest::addColumn<int>("bpm");
        QTest::addColumn<int>("interval");
        QTest::newRow("120") << 120 << 500;
        QTest::newRow("128") << 128 << 469;
        QTest::newRow("30") << 30 << 2000;
        QTest::newRow("250") << 250 << 240;
        QTest::newRow("251") << 251 << 239;
        QTest::newRow("29") << 29 << 2069;
        QTest::newRow("zero counts as one") << 0 << 60000;
    }
    void bpmToInterval()
    {
        QFETCH(int, bpm);
        QFETCH(int, interval);
        int16_t value = int16_t(bpm);
        QCOMPARE(BPMToInterval(value), interval);
        QCOMPARE(int(value), bpm == 0 ? 1 : bpm);
    }

    void everyManualTempoSurvivesTheRoundTrip()
    {
        for (int bpm = 30; bpm <= 250; ++bpm) {
            int16_t value = int16_t(bpm);
            QCOMPARE(IntervalToBPM(BPMToInterval(value)), bpm);
        }
    }

    void limits()
    {
        TempoChannels channels;
        QCOMPARE(channels.settle(10), 30.0);
        QCOMPARE(channels.settle(300), 250.0);
        QCOMPARE(channels.settle(127.99), 127.99);
    }

    void tapsGiveTheExactTempoOfTheirIntervals_data()
    {
        QTest::addColumn<double>("interval");
        QTest::addColumn<double>("bpm");
        QTest::newRow("500 ms") << 500.0 << 120.0;
        QTest::newRow("600 ms") << 600.0 << 100.0;
        QTest::newRow("400 ms") << 400.0 << 150.0;
        QTest::newRow("345 ms") << 345.0 << 60000.0 / 345.0;
        QTest::newRow("750 ms") << 750.0 << 80.0;
        QTest::newRow("faster than 250 BPM") << 100.0 << 250.0;
        QTest::newRow("slower than 30 BPM") << 3000.0 << 30.0;
    }
    void tapsGiveTheExactTempoOfTheirIntervals()
    {
        QFETCH(double, interval);
        QFETCH(double, bpm);
        TempoChannels channels;
        // Every tap of a run at the same interval keeps the same tempo.
        for (int tap = 0; tap < 4; ++tap)
            QCOMPARE(channels.settleTap(interval), bpm);
    }

    void tapAveragesTheRun()
    {
        TempoChannels channels;
        channels.settleTap(500);
        QCOMPARE(channels.settleTap(520), 60000.0 / 510.0);
        QCOMPARE(channels.settleTap(480), 120.0);
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(2));
        // Out-of-range taps count at the limit.
        TempoChannels limited;
        limited.settleTap(100);
        QCOMPARE(limited.settleTap(3000), 60000.0 / 1120.0);
    }

    void nonTapStartEndsTheRun()
    {
        TempoChannels channels;
        channels.taps.mdLastTapTime = 12.5;
        channels.settleTap(500);
        channels.settle(100);
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(-1));
        QCOMPARE(channels.taps.mdLastTapTime, 0.0);
        QCOMPARE(channels.settleTap(750), 80.0);
    }

    void historyWrapsAfter1001Entries()
    {
        TempoChannels channels;
        for (int i = 0; i < 1000; ++i)
            channels.settleTap(400);
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(999));
        // The 1001st tap fills index 1000 and wraps the index to 0.
        QCOMPARE(channels.settleTap(400), 150.0);
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(0));
        // The next tap writes index 1 and averages with index 0 of the earlier run.
        QCOMPARE(channels.settleTap(600), 120.0);
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(1));
    }

    void channelsKeepExactTempos_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("nudge");
        QTest::newRow("whole") << 128.0 << "128" << 469 << 78;
        QTest::newRow("detected") << 127.99 << "127.99" << 469 << 78;
        QTest::newRow("tapped") << 60000.0 / 510.0 << "117.65" << 510 << 85;
        QTest::newRow("almost whole") << 119.999 << "120" << 500 << 83;
        QTest::newRow("slowest") << 30.0 << "30" << 2000 << 333;
    }
    void channelsKeepExactTempos()
    {
        QFETCH(double, bpm);
        QFETCH(QString, shown);
        QFETCH(int, interval);
        QFETCH(int, nudge);
        TempoChannels channels;
        channels.setTempo(1, bpm);
        QCOMPARE(channels.tempo(1), bpm);
        QCOMPARE(channelTempoText(bpm), shown);
        QCOMPARE(channels.intervalMs(1), interval);
        QCOMPARE(channels.calculatedNudgeMs().value_or(-1), nudge);
        QCOMPARE(channels.tempo(2), 0.0);
        QVERIFY(!(channels.select(2), channels.calculatedNudgeMs()));
    }

    void tapRunExpiresAfter2033ms()
    {
        TempoChannels channels;
        channels.taps.mdLastTapTime = 100.0;
        channels.taps.miIntervalHistoryIndex = 3;
        QVERIFY(!channels.taps.expire(102.033));
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(3));
        QVERIFY(channels.taps.expire(102.035));
        QCOMPARE(channels.taps.mdLastTapTime, 0.0);
        QCOMPARE(channels.taps.miIntervalHistoryIndex, int16_t(-1));
        // With no run going, every check reports the run as over.
        QVERIFY(channels.taps.expire(500.0));
    }
};

QTEST_GUILESS_MAIN(TempoChannelsTest)
#include "test_TempoChannels.moc"
