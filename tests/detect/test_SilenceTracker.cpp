// Silence after sound, and the time-out it arms.
#include "detect/SilenceTracker.h"

#include <QtTest>

using namespace pulsivar;

namespace {
const QDateTime start(QDate(2026, 1, 1), QTime(12, 0));
const QDateTime farFuture = start.addDays(99999);

void quietBlocks(SilenceTracker &tracker, int count, const QDateTime &at)
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
        tracker.reset(farFuture);
        tracker.addBlock(101, start);
        QVERIFY(tracker.mbInputHasSound);
        quietBlocks(tracker, 50, start);
        QVERIFY(tracker.mbInputHasSound);
        QCOMPARE(tracker.mdtSilenceStart, farFuture);
        const QDateTime stamp = start.addSecs(3);
        tracker.addBlock(0, stamp);
        QVERIFY(!tracker.mbInputHasSound);
        QCOMPARE(tracker.mdtSilenceStart, stamp);
        // Further quiet runs keep the moment the silence began.
        quietBlocks(tracker, 51, start.addSecs(10));
        QCOMPARE(tracker.mdtSilenceStart, stamp);
    }

    void aLoudBlockEndsTheSilence()
    {
        SilenceTracker tracker;
        tracker.reset(farFuture);
        tracker.addBlock(20000, start);
        quietBlocks(tracker, 51, start);
        tracker.addBlock(5000, start.addSecs(1));
        QVERIFY(tracker.mbInputHasSound);
        QCOMPARE(tracker.mdtSilenceStart, farFuture);
        // The quiet count starts again after the loud block.
        quietBlocks(tracker, 50, start);
        QVERIFY(tracker.mbInputHasSound);
    }

    void anInputThatNeverSoundedNeverTimesOut()
    {
        SilenceTracker tracker;
        tracker.reset(farFuture);
        quietBlocks(tracker, 500, start);
        QVERIFY(!tracker.mbInputHasSound);
        QCOMPARE(tracker.mdtSilenceStart, farFuture);
        QVERIFY(!tracker.timedOut(start.addSecs(3600), 6));
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
        tracker.reset(farFuture);
        tracker.addBlock(30000, start);
        quietBlocks(tracker, 51, start);
        QCOMPARE(tracker.timedOut(start.addMSecs(elapsedMs), timeout), timedOut);
    }

    void secondsAreCountedAsBoundariesPassed()
    {
        const QDateTime before(QDate(2026, 1, 1), QTime(12, 0, 0, 900));
        QCOMPARE(secondBoundariesBetween(before, before.addMSecs(200)), 1);
        QCOMPARE(secondBoundariesBetween(before, before.addMSecs(50)), 0);
        QVERIFY(secondBoundariesBetween(farFuture, start) < 0);
    }
};

QTEST_APPLESS_MAIN(SilenceTrackerTest)
#include "test_SilenceTracker.moc"
