// SPDX-License-Identifier: GPL-2.0-or-later
// Plays MIDI clock out of the real JACK MIDI port for a while: a run at each tempo given, a nudge
// in the middle of each, then a stop. Prints each run's first beat as "run <bpm> <seconds>" so
// the dump can be checked against the grid.
#include "metronome/BeatGrid.h"
#include "metronome/SoundEngineSdl.h"
#include "sync/MidiClockOut.h"

#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace pulsivar;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s SECONDS_PER_TEMPO BPM... [--nudge-ms N]\n", argv[0]);
        return 2;
    }
    double nudgeMs = 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--nudge-ms")); at >= 0 && at + 1 < args.size()) {
        nudgeMs = args[at + 1].toDouble();
        args.remove(at, 2);
    }
    const double seconds = args.takeFirst().toDouble();
    MidiClockOut out;
    if (!out.select(MidiClockOut::virtualPortName())) {
        std::fprintf(stderr, "no JACK server\n");
        return 1;
    }
    // The dump connects to the port once it is there.
    std::printf("ready\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    BeatGrid grid;
    auto sleepFor = [](double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); };
    for (const QString &tempo : args) {
        const double bpm = tempo.toDouble();
        grid.start(steadySeconds(), 60.0 / bpm, 1);
        out.setSchedule(grid.schedule());
        std::printf("run %g %.6f\n", bpm, grid.schedule().segments[0].fromSeconds);
        sleepFor(seconds / 2);
        if (nudgeMs != 0) {
            grid.shift(steadySeconds(), nudgeMs / 1000.0);
            out.setSchedule(grid.schedule());
        }
        sleepFor(seconds / 2);
    }
    grid.stop(steadySeconds());
    out.setSchedule(grid.schedule());
    sleepFor(0.5);
    std::printf("done\n");
    return 0;
}
