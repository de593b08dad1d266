// SPDX-License-Identifier: GPL-2.0-or-later
// MIDI clock from the beat grid: 24 pulses a beat, Start before the first, Stop at a stop,
// following tempo changes and nudges; and the ALSA queue's stamps and top-ups.
#include "metronome/BeatGrid.h"
#include "sync/AlsaQueuePlan.h"
#include "sync/MidiClockSchedule.h"
#include <QtTest>
#include <vector>

using namespace pulsivar;

namespace {

std::vector<MidiClockEvent> takeAll(MidiClockSchedule &clock, double from, double until)
{
    std::vector<MidiClockEvent> events(4096);
    events.resize(size_t(clock.take(from, until, events.data(), int(events.size()))));
    return events;
}

int countOf(const std::vector<MidiClockEvent> &events, uint8_t status)
{
    return int(std::count_if(events.begin(), events.end(), [status](const auto &e) { return e.status == status; }));
}

} // namespace

class MidiClockScheduleTest : public QObject {
    Q_OBJECT
private slots:
    void pulsesEvenlyBetweenBeats_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::newRow("120") << 120.0;
        QTest::newRow("174") << 174.0;
        QTest::newRow("33.3") << 33.3;
    }
    void pulsesEvenlyBetweenBeats()
    {
        QFETCH(double, bpm);
        BeatGrid grid;
        grid.start(10.0, 60.0 / bpm, 1);
        MidiClockSchedule clock;
        clock.adopt(grid.schedule());
        const double period = 60.0 / bpm;
        const auto events = takeAll(clock, 10.0, 10.0 + period * 5 + 1e-9);
        QCOMPARE(events.front().status, MidiClockSchedule::startMessage);
        QCOMPARE(events.front().seconds, 10.0 + period - MidiClockSchedule::startLeadSeconds);
        QCOMPARE(countOf(events, MidiClockSchedule::clockPulse), 4 * 24 + 1);
        for (size_t i = 1; i < events.size(); ++i)
            QVERIFY(std::abs(events[i].seconds - (10.0 + period + double(i - 1) * period / 24)) < 1e-9);
    }

    void takesEachEventOnceInWindows()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        MidiClockSchedule clock;
        clock.adopt(grid.schedule());
        int pulses = 0;
        double last = -1;
        for (double t = 0; t < 10.0; t += 1024.0 / 48000) {
            for (const auto &e : takeAll(clock, t, t + 1024.0 / 48000)) {
                QVERIFY(e.seconds > last);
                last = e.seconds;
                pulses += e.status == MidiClockSchedule::clockPulse;
            }
        }
        // Beats at 0.5, 1.0, ... 9.5 s and their pulses before 10 s.
        QCOMPARE(pulses, 19 * 24 + 1);
    }

    void followsTempoChangeAndNudge()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        MidiClockSchedule clock;
        clock.adopt(grid.schedule());
        takeAll(clock, 0.0, 0.75);
        grid.shift(0.75, 0.02);
        clock.adopt(grid.schedule());
        // The beat at 1.0 s is now at 1.02 s; the pulses before it spread over the longer gap.
        auto events = takeAll(clock, 0.75, 1.021);
        QCOMPARE(events.back().seconds, 1.02);
        QCOMPARE(countOf(events, MidiClockSchedule::startMessage), 0);
        grid.start(1.1, 60.0 / 174, 0);
        clock.adopt(grid.schedule());
        events = takeAll(clock, 1.1, 1.1 + 2 * 60.0 / 174 + 1e-9);
        QCOMPARE(events.front().status, MidiClockSchedule::startMessage);
        QVERIFY(std::abs(events[2].seconds - events[1].seconds - 60.0 / 174 / 24) < 1e-9);
    }

    void stopAtTheStopsTime()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        MidiClockSchedule clock;
        clock.adopt(grid.schedule());
        takeAll(clock, 0.0, 2.0);
        grid.stop(2.0);
        clock.adopt(grid.schedule());
        const auto events = takeAll(clock, 2.0, 5.0);
        QCOMPARE(int(events.size()), 1);
        QCOMPARE(events[0].status, MidiClockSchedule::stopMessage);
        QCOMPARE(events[0].seconds, 2.0);
        QVERIFY(!clock.isRunning());
        // A stop before anything started sends nothing.
        MidiClockSchedule fresh;
        fresh.adopt(grid.schedule());
        QVERIFY(takeAll(fresh, 0, 10).empty());
    }

    void joiningARunStartsOnTheNextBeat()
    {
        BeatGrid grid;
        grid.start(0.0, 0.5, 1);
        MidiClockSchedule clock;
        clock.adopt(grid.schedule());
        const auto events = takeAll(clock, 3.2, 3.6);
        QCOMPARE(events[0].status, MidiClockSchedule::startMessage);
        QCOMPARE(events[1].seconds, 3.5);
    }

    void alsaQueueStampsAndTopUps()
    {
        AlsaQueuePlan plan;
        plan.started(100.0);
        QCOMPARE(plan.queueTime(101.25).seconds, 1u);
        QCOMPARE(plan.queueTime(101.25).nanoseconds, 250000000u);
        QCOMPARE(plan.queueTime(99.0).seconds, 0u);
        auto window = plan.topUp(100.0);
        QCOMPARE(window.until, 100.0 + AlsaQueuePlan::lookaheadSeconds);
        window = plan.topUp(100.02);
        QCOMPARE(window.from, 100.0 + AlsaQueuePlan::lookaheadSeconds);
        plan.withdrawn(100.03);
        QCOMPARE(plan.topUp(100.03).from, 100.03);
    }
};

QTEST_GUILESS_MAIN(MidiClockScheduleTest)
#include "test_MidiClockSchedule.moc"
