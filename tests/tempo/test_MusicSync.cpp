// SPDX-License-Identifier: GPL-2.0-or-later
// Following the music's beat: bounded steps, wrapped errors, a stray reading ignored.
#include "tempo/MusicSync.h"

#include <QtTest>

using namespace pulsivar;

class MusicSyncTest : public QObject {
    Q_OBJECT
private slots:
    void phaseErrorWrapsToTheNearestBeat_data()
    {
        QTest::addColumn<double>("grid");
        QTest::addColumn<double>("beat");
        QTest::addColumn<double>("error");
        QTest::newRow("late") << 10.02 << 9.5 << 0.02;
        QTest::newRow("early") << 10.0 << 7.51 << -0.01;
        QTest::newRow("nearly a beat late is early") << 10.49 << 9.5 << -0.01;
    }
    void phaseErrorWrapsToTheNearestBeat()
    {
        QFETCH(double, grid);
        QFETCH(double, beat);
        QFETCH(double, error);
        QVERIFY(std::abs(MusicSync::phaseError(grid, beat, 0.5) - error) < 1e-9);
    }

    void aLateClickComesEarlierInStepsOfAFewMsUntilOnTheBeat()
    {
        MusicSync sync;
        double grid = 10.02;
        double moved = 0;
        for (int i = 0; i < 20; ++i) {
            const double step = sync.correction(grid, 9.5, 0.5);
            QVERIFY(std::abs(step) <= MusicSync::maxStepSeconds + 1e-12);
            grid += step;
            moved += step;
        }
        QVERIFY(std::abs(moved + 0.02) < 0.001);
    }

    void aStrayReadingIsIgnoredButAMoveThatLastsIsFollowed()
    {
        MusicSync sync;
        QCOMPARE(sync.correction(10.0, 9.5, 0.5), 0.0);
        QCOMPARE(sync.correction(10.0, 9.6, 0.5), 0.0); // one beat heard 100 ms off
        double total = 0;
        for (int i = 0; i < 10; ++i)
            total += sync.correction(10.0, 9.6, 0.5);
        QVERIFY(total > 0.02);
    }
};

QTEST_APPLESS_MAIN(MusicSyncTest)
#include "test_MusicSync.moc"
