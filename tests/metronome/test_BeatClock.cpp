// The beat clock's arithmetic: limits, the tap run, the measure count and the run's expiry.
#include "metronome/BeatClock.h"
#include <QtTest>

using namespace pulsivar;

class BeatClockTest : public QObject {
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

    void limits()
    {
        BeatClock clock;
        QCOMPARE(clock.start(100, false, 1), 240);
        QCOMPARE(clock.start(3000, false, 1), 2000);
        QCOMPARE(clock.start(500, false, 1), 500);
    }

    void tapAveragesRoundHalfToEven()
    {
        BeatClock clock;
        QCOMPARE(clock.start(500, true, 1), 500);
        QCOMPARE(clock.start(520, true, 1), 510);
        QCOMPARE(clock.start(480, true, 1), 500);
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(2));
        // (500 + 501) / 2 = 500.5 -> 500
        BeatClock halves;
        halves.start(500, true, 1);
        QCOMPARE(halves.start(501, true, 1), 500);
        halves.start(500, false, 1);
        halves.start(502, true, 1);
        QCOMPARE(halves.start(503, true, 1), 502);
    }

    void tapAveragesUseLimitedIntervals()
    {
        BeatClock clock;
        clock.start(100, true, 1);
        QCOMPARE(clock.start(3000, true, 1), 1120);
    }

    void nonTapStartEndsTheRun()
    {
        BeatClock clock;
        clock.mdLastTapTime = 12.5;
        clock.start(500, true, 1);
        clock.start(600, false, 1);
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(-1));
        QCOMPARE(clock.mdLastTapTime, 0.0);
        QCOMPARE(clock.start(700, true, 1), 700);
    }

    void historyWrapsAfter1001Entries()
    {
        BeatClock clock;
        for (int i = 0; i < 1000; ++i)
            clock.start(400, true, 1);
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(999));
        // The 1001st tap fills index 1000 and wraps the index to 0.
        QCOMPARE(clock.start(400, true, 1), 400);
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(0));
        // The next tap writes index 1 and averages with index 0 of the earlier run.
        QCOMPARE(clock.start(600, true, 1), 500);
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(1));
    }

    void startBeat()
    {
        BeatClock clock;
        clock.miCurrentBeat = 3;
        clock.start(500, false, 0);
        QCOMPARE(clock.miCurrentBeat, int16_t(3));
        clock.start(500, false, 2);
        QCOMPARE(clock.miCurrentBeat, int16_t(2));
    }

    void measureCount_data()
    {
        QTest::addColumn<int>("beats");
        for (int beats = 2; beats <= 7; ++beats)
            QTest::addRow("%d beats", beats) << beats;
    }
    void measureCount()
    {
        QFETCH(int, beats);
        BeatClock clock;
        for (int round = 0; round < 3; ++round) {
            for (int expected = 1; expected <= beats; ++expected) {
                QCOMPARE(int(clock.miCurrentBeat), expected);
                clock.advanceBeat(beats);
            }
        }
    }

    void fewerBeatsTakeEffectAtTheNextTick()
    {
        BeatClock clock;
        clock.miCurrentBeat = 6;
        clock.advanceBeat(3);
        QCOMPARE(clock.miCurrentBeat, int16_t(1));
    }

    void tapRunExpiresAfter2033ms()
    {
        BeatClock clock;
        clock.mdLastTapTime = 100.0;
        clock.miIntervalHistoryIndex = 3;
        QVERIFY(!clock.expireTapRun(102.033));
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(3));
        QVERIFY(clock.expireTapRun(102.035));
        QCOMPARE(clock.mdLastTapTime, 0.0);
        QCOMPARE(clock.miIntervalHistoryIndex, int16_t(-1));
        // With no run going, every check reports the run as over.
        QVERIFY(clock.expireTapRun(500.0));
    }
};

QTEST_GUILESS_MAIN(BeatClockTest)
#include "test_BeatClock.moc"
