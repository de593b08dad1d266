// SPDX-License-Identifier: GPL-2.0-or-later
// The audio thread's side of the grid: every beat at its exact frame, changes applied exactly,
// whatever the output's clock does against the monotonic one.
#include "metronome/BeatGrid.h"
#include "metronome/BeatPlacer.h"
#include <QtTest>

using namespace pulsivar;

namespace {
constexpr double rate = 44100.0;
constexpr int buffer = 512;

// An output whose sample clock runs `ppm` fast against the monotonic one, rendering buffer after
// buffer; it records the frame where each click starts.
struct Output {
    explicit Output(double ppm) : clock(rate), mixer(1), placer(rate), ppm(ppm) { click.samples = {1.0f}; }

    void adopt(const BeatSchedule &schedule) { placer.adopt(schedule, frame, clock, mixer); }
    // Renders until the monotonic clock reaches `until`.
    void runTo(double until)
    {
        while (secondsOf(frame) < until) {
            clock.update(frame, secondsOf(frame));
            placer.place(frame, buffer, clock, mixer);
            for (int i = 0; i < placer.placedClickCount(); ++i)
                placedSounds.push_back(placer.placedClicks()[size_t(i)].soundsSeconds);
            float out[buffer];
            mixer.render(out, buffer, frame);
            for (int i = 0; i < buffer; ++i) {
                if (out[i] > 0.5f) {
                    clicks.push_back(frame + i);
                    heardAt.push_back(secondsOf(frame + i));
                }
            }
            frame += buffer;
        }
    }
    double secondsOf(int64_t f) const { return 100.0 + lostSeconds + double(f) / (rate * (1.0 + ppm * 1e-6)); }

    StreamClock clock;
    ClickMixer mixer;
    BeatPlacer placer;
    ClickSound click;
    double ppm;
    int64_t frame = 0;
    // Time the output lost to underruns: its frames fall behind the monotonic clock.
    double lostSeconds = 0;
    std::vector<int64_t> clicks;
    std::vector<double> placedSounds;
    std::vector<double> heardAt;
};

// An output running for half a second, then a grid started at 100.5 s and handed to it.
void startBeating(Output &output, BeatGrid &grid, double periodSeconds)
{
    output.placer.setSounds(&output.click, &output.click, 1);
    output.runTo(100.5);
    grid.setAudible(true);
    grid.start(100.5, periodSeconds, 1);
    output.adopt(grid.schedule());
}
} // namespace

class BeatPlacerTest : public QObject {
    Q_OBJECT
private slots:
    void beatsFallAWholeNumberOfPeriodsApartInTheOutputsClock_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("ppm");
        QTest::newRow("120, exact clock") << 120.0 << 0.0;
        QTest::newRow("127.99, clock 500 ppm fast") << 127.99 << 500.0;
        QTest::newRow("250, clock 300 ppm slow") << 250.0 << -300.0;
    }
    void beatsFallAWholeNumberOfPeriodsApartInTheOutputsClock()
    {
        QFETCH(double, bpm);
        QFETCH(double, ppm);
        Output output(ppm);
        BeatGrid grid;
        startBeating(output, grid, 60.0 / bpm);
        output.runTo(160.0);
        QVERIFY(output.clicks.size() > 50);
        const double period = rate * 60.0 / bpm;
        for (size_t i = 0; i < output.clicks.size(); ++i)
            QVERIFY(std::abs(double(output.clicks[i] - output.clicks[0]) - double(i) * period) < 1.0);
    }

    void aNudgeMovesTheFollowingClicksByExactlyItsFrames()
    {
        Output output(500.0);
        BeatGrid grid;
        startBeating(output, grid, 0.5);
        output.runTo(130.2);
        grid.shift(130.2, -0.070);
        output.adopt(grid.schedule());
        output.runTo(140.0);
        std::vector<int64_t> intervals;
        for (size_t i = 1; i < output.clicks.size(); ++i)
            intervals.push_back(output.clicks[i] - output.clicks[i - 1]);
        const int64_t period = 22050, nudge = int64_t(0.070 * rate);
        QCOMPARE(std::count(intervals.begin(), intervals.end(), period - nudge), 1);
        QCOMPARE(std::count(intervals.begin(), intervals.end(), period), qsizetype(intervals.size() - 1));
    }

    void afterAnUnderrunEachClickSaysWhenItSoundsNotWhenItWasDue()
    {
        Output output(0.0);
        BeatGrid grid;
        startBeating(output, grid, 0.5);
        output.runTo(102.1);
        output.lostSeconds = 0.3;
        output.runTo(104.0);
        QCOMPARE(output.placedSounds.size(), output.clicks.size());
        for (size_t i = 0; i < output.clicks.size(); ++i)
            QVERIFY2(std::abs(output.placedSounds[i] - output.heardAt[i]) < 0.001,
                     qPrintable(QStringLiteral("click %1: %2 against %3")
                                    .arg(i)
                                    .arg(output.placedSounds[i])
                                    .arg(output.heardAt[i])));
        QVERIFY(std::abs(output.placer.lastPlaced().offsetSeconds - 0.3) < 0.001);
    }

    void aRestartWithdrawsTheClickOfTheRunBefore()
    {
        Output output(0.0);
        BeatGrid grid;
        startBeating(output, grid, 0.5);
        // Just before the first beat is due its click waits in the mixer; the stop withdraws it.
        output.runTo(100.995);
        grid.stop(100.996);
        output.adopt(grid.schedule());
        output.runTo(102.0);
        QVERIFY(output.clicks.empty());
    }
};

QTEST_GUILESS_MAIN(BeatPlacerTest)
#include "test_BeatPlacer.moc"
