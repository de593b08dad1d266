// SPDX-License-Identifier: GPL-2.0-or-later
// The running beat as data: due times, the count through the measure, accents, nudges.
#include "metronome/BeatGrid.h"
#include "metronome/MeasureConfigRules.h"
#include <QtTest>

using namespace pulsivar;

class BeatGridTest : public QObject {
    Q_OBJECT
private slots:
    void startBeat()
    {
        BeatGrid grid;
        grid.start(10.0, 0.5, 3);
        QCOMPARE(grid.next().number, 3);
        QCOMPARE(grid.next().dueSeconds, 10.5);
        grid.start(11.0, 0.5, 0);
        QCOMPARE(grid.next().number, 3);
        grid.start(11.0, 0.5, 2);
        QCOMPARE(grid.next().number, 2);
        grid.stop(11.2);
        QCOMPARE(grid.next().number, 1);
        QVERIFY(!grid.isRunning());
        QCOMPARE(grid.schedule().cancelFromSeconds, 11.2);
    }

    void renumberCountsOnFromTheNextChangeableBeat()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        grid.renumber(0.0, 3);
        QCOMPARE(grid.beat(0).number, 3);
        QCOMPARE(grid.beat(1).number, 4);
        QCOMPARE(grid.beat(2).number, 1);
        QCOMPARE(grid.beat(2).dueSeconds, 1.5);
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
        BeatGrid grid;
        grid.setMeasure(0.0, beats, 1);
        grid.start(0.0, 0.5, 1);
        for (int round = 0; round < 3; ++round) {
            for (int expected = 1; expected <= beats; ++expected) {
                QCOMPARE(grid.next().number, expected);
                QCOMPARE(grid.next().accented, expected == 1);
                grid.advance();
            }
        }
        QCOMPARE(grid.beat(100).dueSeconds, 50.5);
    }

    void fewerBeatsTakeEffectAtTheNextTick()
    {
        BeatGrid grid;
        grid.setMeasure(0.0, 7, 0);
        grid.start(0.0, 0.5, 6);
        grid.setMeasure(0.0, 3, 0);
        QCOMPARE(grid.next().number, 6);
        grid.advance();
        QCOMPARE(grid.next().number, 1);
        // Running on: a change made during beat 1 counts from beat 2 on.
        grid.setMeasure(0.9, 4, 0);
        QCOMPARE(grid.next().number, 1);
        grid.advance();
        QCOMPARE(grid.next().number, 2);
    }

    void nudgeMovesEveryLaterBeatByExactlyItsAmount_data()
    {
        QTest::addColumn<double>("pressedAt");
        QTest::addColumn<double>("delta");
        // At 120 BPM, beats at 10.5, 11.0, 11.5 ... pressed at every phase of a beat.
        for (double phase : {0.0, 0.05, 0.13, 0.27, 0.31, 0.45, 0.499}) {
            QTest::addRow("ahead at +%.3f", phase) << 10.5 + phase << -0.070;
            QTest::addRow("behind at +%.3f", phase) << 10.5 + phase << 0.070;
        }
    }
    void nudgeMovesEveryLaterBeatByExactlyItsAmount()
    {
        QFETCH(double, pressedAt);
        QFETCH(double, delta);
        BeatGrid grid;
        grid.start(10.0, 0.5, 1);
        const BeatSchedule before = grid.schedule();
        grid.shift(pressedAt, delta);
        const BeatSchedule &after = grid.schedule();
        int moved = 0;
        for (int64_t i = 0; i < 20; ++i) {
            const double change = after.dueSeconds(i) - before.dueSeconds(i);
            // A beat an output may already have placed never moves; every one after moves exactly.
            if (before.dueSeconds(i) < pressedAt + BeatGrid::guardSeconds) {
                QCOMPARE(change, 0.0);
            } else {
                QVERIFY(std::abs(change - delta) < 1e-12 || (change == 0.0 && moved == 0));
                moved += change != 0.0;
            }
            QCOMPARE(after.number(i), before.number(i));
        }
        QVERIFY(moved >= 17);
        QCOMPARE(grid.periodSeconds(), 0.5);
    }

    void aNudgeOfHalfAPeriodOrMoreIsCut()
    {
        BeatGrid grid;
        grid.start(0.0, 0.24, 1);
        grid.shift(0.0, -0.3);
        const double moved = grid.schedule().dueSeconds(10) - (0.24 + 10 * 0.24);
        QCOMPARE(moved, -(0.12 - BeatGrid::minimumGapSeconds));
    }

    void manyChangesKeepTheirBeats()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        for (int i = 0; i < 20; ++i)
            grid.shift(0.0, 0.01);
        QVERIFY(grid.schedule().segmentCount <= BeatSchedule::maxSegments);
        QVERIFY(std::abs(grid.schedule().dueSeconds(5) - (3.0 + 0.2)) < 1e-9);
    }

    void retimeSetsThePeriodAndMovesThePhaseInBoundedSteps_data()
    {
        QTest::addColumn<double>("anchor");
        QTest::addColumn<double>("maxShift");
        QTest::addColumn<double>("error");
        QTest::addColumn<double>("moved");
        // Beats at 0.5 + k * 0.5; beat 1 (1.0 s) is the first one far enough ahead of 0.85 s; the
        // error counts in the new period, 0.48 s.
        QTest::newRow("late by 20 ms, all of it") << 0.98 << 0.25 << 0.02 << -0.02;
        QTest::newRow("late by 20 ms, 3 ms a step") << 0.98 << 0.003 << 0.02 << -0.003;
        QTest::newRow("early by 10 ms") << 1.49 << 0.25 << -0.01 << 0.01;
        QTest::newRow("a beat of the new period later") << 1.43 << 0.25 << 0.05 << -0.05;
    }
    void retimeSetsThePeriodAndMovesThePhaseInBoundedSteps()
    {
        QFETCH(double, anchor);
        QFETCH(double, maxShift);
        QFETCH(double, error);
        QFETCH(double, moved);
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        const int numberBefore = grid.schedule().number(1);
        QVERIFY(std::abs(grid.retime(0.85, 0.48, anchor, maxShift) - error) < 1e-9);
        QVERIFY(std::abs(grid.schedule().dueSeconds(1) - (1.0 + moved)) < 1e-9);
        QVERIFY(std::abs(grid.schedule().dueSeconds(3) - grid.schedule().dueSeconds(1) - 0.96) < 1e-9);
        QCOMPARE(grid.schedule().number(1), numberBefore);
        QCOMPARE(grid.schedule().dueSeconds(0), 0.5);
    }

    void aStalledDisplayCatchesUp()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        grid.catchUp(2.2);  // beats 0 to 3 were due by now
        QCOMPARE(grid.next().index, 3);
        QCOMPARE(grid.next().number, 4);
    }

    void accentText_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("beat");
        QTest::addColumn<bool>("accented");
        QTest::newRow("default beat 1") << "10000" << 1 << true;
        QTest::newRow("default beat 2") << "10000" << 2 << false;
        QTest::newRow("past the end") << "10000" << 6 << false;
        QTest::newRow("beat 7") << "0000001" << 7 << true;
        QTest::newRow("beat 8 never") << "11111111" << 8 << false;
        QTest::newRow("other character") << "2" << 1 << false;
    }
    void accentText()
    {
        QFETCH(QString, pattern);
        QFETCH(int, beat);
        QFETCH(bool, accented);
        BeatGrid grid;
        grid.setMeasure(0.0, 9, accentMaskOf(pattern));
        grid.start(0.0, 0.5, beat);
        QCOMPARE(grid.next().accented, accented);
    }
};

QTEST_GUILESS_MAIN(BeatGridTest)
#include "test_BeatGrid.moc"
