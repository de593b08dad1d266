// The nudge moves the beat's phase and never its tempo.
#include "tempo/Nudge.h"
#include <QtTest>

using namespace pulsivar;

namespace {
// Periods the timer runs with: the click's, then each tick's re-arm (or the running one).
QList<int> run(Nudge &nudge, int period, std::optional<int> clicked, int ticks)
{
    QList<int> periods;
    if (clicked)
        period = *clicked;
    periods << period;
    for (int i = 0; i < ticks; ++i) {
        if (auto next = nudge.tick())
            period = *next;
        periods << period;
    }
    return periods;
}
} // namespace

class NudgeTest : public QObject {
    Q_OBJECT
private slots:
    void fasterThenRestored()
    {
        Nudge nudge;
        const auto periods = run(nudge, 500, nudge.click(Nudge::Direction::Faster, 500, 70), 3);
        QCOMPARE(periods, (QList<int>{430, 430, 500, 500}));
        QVERIFY(!nudge.pending());
    }

    void slowerThenRestored()
    {
        Nudge nudge;
        const auto periods = run(nudge, 500, nudge.click(Nudge::Direction::Slower, 500, 70), 3);
        QCOMPARE(periods, (QList<int>{570, 570, 500, 500}));
    }

    void secondClickSameWayIgnored()
    {
        Nudge nudge;
        QVERIFY(nudge.click(Nudge::Direction::Faster, 500, 70));
        QVERIFY(!nudge.click(Nudge::Direction::Faster, 430, 70));
    }

    void restoresThePeriodBeforeWhateverTheAmountIsNow()
    {
        Nudge nudge;
        nudge.click(Nudge::Direction::Faster, 500, 70);
        // The box changes between the click and the restoring tick; the restore does not care.
        nudge.tick();
        QCOMPARE(nudge.tick().value_or(-1), 500);
    }

    void neverShorterThanOneMillisecond()
    {
        Nudge nudge;
        QCOMPARE(nudge.click(Nudge::Direction::Faster, 240, 300).value_or(-1), 1);
        QVERIFY(!nudge.tick());
        QCOMPARE(nudge.tick().value_or(-1), 240);
    }

    void bothWaysRestoreTheOriginalPeriod()
    {
        Nudge nudge;
        QCOMPARE(nudge.click(Nudge::Direction::Faster, 500, 70).value_or(-1), 430);
        QCOMPARE(nudge.click(Nudge::Direction::Slower, 430, 50).value_or(-1), 480);
        QList<int> periods;
        int period = 480;
        for (int i = 0; i < 4; ++i) {
            if (auto next = nudge.tick())
                period = *next;
            periods << period;
        }
        QCOMPARE(periods.last(), 500);
        QVERIFY(!nudge.pending());
    }

    void cancelForgetsThePendingNudge()
    {
        Nudge nudge;
        nudge.click(Nudge::Direction::Faster, 500, 70);
        nudge.cancel();
        QVERIFY(!nudge.pending());
        QVERIFY(!nudge.tick());
        QVERIFY(nudge.click(Nudge::Direction::Faster, 600, 70));
    }
};

QTEST_GUILESS_MAIN(NudgeTest)
#include "test_Nudge.moc"
