// SPDX-License-Identifier: GPL-2.0-or-later
// Silence after sound, and the time-out it arms.
#include "detect/SilenceTracker.h"

#include <QtTest>

using namespace pulsivar;

namespace {
// Monotonic seconds, as the clock gives them.
constexpr double start = 43200.0;

void quietBlocks(SilenceTracker &tracker, int count, double at)
{
    for (int i = 0; i < count; ++i)
        tracker.addBlock(100, at);
}
} // namespace

class SilenceTrackerTest : public QObject {
    Q_OBJECT
private slots:
    void silenceComesAfterFiftyOneQuietBlocks()
    {
        SilenceTracker tracker;
        tracker.reset();
        tracker.addBlock(101, start);
        QVERIFY(tracker.mbInputHasSound);
        quietBlocks(tracker, 50, start);
        QVERIFY(tracker.mbInputHasSound);
        QVERIFY(!tracker.mdtSilenceStart);
        const double stamp = start + 3;
        tracker.addBlock(0, stamp);
        QVERIFY(!tracker.mbInputHasSound);
        QCOMPARE(tracker.mdtSilenceStart.value_or(-1), stamp);
        // Further quiet runs keep the moment the silence began.
        quietBlocks(tracker, 51, start + 10);
        QCOMPARE(tracker.mdtSilenceStart.value_or(-1), stamp);
    }

    void aLoudBlockEndsTheSilence()
    {
        SilenceTracker tracker;
        tracker.reset();
        tracker.addBlock(20000, start);
        quietBlocks(tracker, 51, start);
        tracker.addBlock(5000, start + 1);
        QVERIFY(tracker.mbInputHasSound);
        QVERIFY(!tracker.mdtSilenceStart);
        // The quiet count starts again after the loud block.
        quietBlocks(tracker, 50, start);
        QVERIFY(tracker.mbInputHasSound);
    }

    void anInputThatNeverSoundedNeverTimesOut()
    {
        SilenceTracker tracker;
        tracker.reset();
        quietBlocks(tracker, 500, start);
        QVERIFY(!tracker.mbInputHasSound);
        QVERIFY(!tracker.mdtSilenceStart);
        QVERIFY(!tracker.timedOut(start + 3600, 6));
    }

    void timeOut_data()
    {
        QTest::addColumn<int>("timeout");
        QTest::addColumn<int>("elapsedMs");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("6 s after 6 s") << 6 << 6000 << false;
        QTest::newRow("6 s after 6.9 s") << 6 << 6900 << false;
        QTest::newRow("6 s after 7 s") << 6 << 7000 << true;
        QTest::newRow("120 s after 121 s") << 120 << 121000 << true;
        QTest::newRow("no timeout after a day") << 32767 << 86400000 << false;
    }
    void timeOut()
    {
        QFETCH(int, timeout);
        QFETCH(int, elapsedMs);
        QFETCH(bool, timedOut);
        SilenceTracker tracker;
        tracker.reset();
        tracker.addBlock(30000, start);
        quietBlocks(tracker, 51, start);
        QCOMPARE(tracker.timedOut(start + elapsedMs / 1000.0, timeout), timedOut);
    }

    void secondsAreCountedAsBoundariesPassed()
    {
        const double before = start + 0.9;
        QCOMPARE(secondBoundariesBetween(before, before + 0.2), 1);
        QCOMPARE(secondBoundariesBetween(before, before + 0.05), 0);
        QVERIFY(secondBoundariesBetween(start + 10, start) < 0);
    }
};

QTEST_APPLESS_MAIN(SilenceTrackerTest)
#include "test_SilenceTracker.moc"
