// SPDX-License-Identifier: GPL-2.0-or-later
// Beats BEATS times at BPM through the beat grid and the real sound engine, as the metronome
// does, and exits, so a recording of the output shows how evenly the clicks land.
//   --busy       the GUI thread stalls 30 ms every 103 ms (a period that locks to no beat)
//   --stall MS   the GUI thread stalls MS every 2 s
//   --nudge MS   every 7th beat, a third of a beat after it, the beat is nudged MS ahead, then behind
// Every beat is a plain click, so the recording's clicks all look alike.
#include "common/Clock.h"
#include "metronome/BeatGrid.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <cstdio>

using namespace pulsivar;

namespace {
int usage()
{
    std::fprintf(stderr, "usage: click_bench BPM BEATS [--busy] [--stall MS] [--nudge MS]   (BPM 30 to 250)\n");
    return 3;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const auto option = [&args](const QString &name, int &value) {
        const qsizetype at = args.indexOf(name);
        if (at < 0)
            return true;
        bool ok = false;
        value = args.value(at + 1).toInt(&ok);
        args.remove(at, 2);
        return ok && value > 0;
    };
    const bool busy = args.removeAll(QStringLiteral("--busy")) > 0;
    int stallMs = 0, nudgeMs = 0;
    if (!option(QStringLiteral("--stall"), stallMs) || !option(QStringLiteral("--nudge"), nudgeMs))
        return usage();
    bool bpmOk = false, beatsOk = false;
    const double bpm = args.value(0).toDouble(&bpmOk);
    const int beats = args.value(1).toInt(&beatsOk);
    if (args.size() != 2 || !bpmOk || !beatsOk || bpm < 30 || bpm > 250 || beats < 1)
        return usage();
    const double period = 60.0 / bpm;

    ExtractWaveFiles();
    BeatSoundEngine &engine = beatSoundEngine();
    engine.setBeatSounds(plainWavePath(), plainWavePath());
    BeatGrid grid;
    grid.setMeasure(0.0, 4, 0);
    grid.setAudible(true);

    QTimer stall;
    stall.setTimerType(Qt::PreciseTimer);
    stall.setInterval(busy ? 103 : 2000);
    QObject::connect(&stall, &QTimer::timeout, [&] { QThread::msleep(busy ? 30 : stallMs); });

    // Nudges at a third of a beat after every 7th beat: ahead, then behind, so the run keeps its place.
    QTimer nudger;
    nudger.setTimerType(Qt::PreciseTimer);
    nudger.setInterval(int(7 * period * 1000));
    int nudges = 0;
    QObject::connect(&nudger, &QTimer::timeout, [&] {
        const double delta = (nudges++ % 2 == 0 ? -nudgeMs : nudgeMs) / 1000.0;
        grid.shift(pulsivar::clock().monotonicSeconds(), delta);
        engine.setSchedule(grid.schedule());
        std::fprintf(stderr, "nudge %+.0f ms\n", delta * 1000.0);
    });

    // Give the output a moment to settle, as the program does between start-up and the first beat.
    QTimer::singleShot(300, &app, [&] {
        const double now = pulsivar::clock().monotonicSeconds();
        grid.start(now, period, 1);
        engine.setSchedule(grid.schedule());
        if (busy || stallMs > 0)
            stall.start();
        if (nudgeMs > 0)
            QTimer::singleShot(int((period + period / 3) * 1000), &app, [&] { nudger.start(); });
        // The last beat, then the output latency, played out before closing.
        QTimer::singleShot(int((beats + 0.5) * period * 1000), &app, [&] {
            grid.stop(pulsivar::clock().monotonicSeconds());
            engine.setSchedule(grid.schedule());
            QTimer::singleShot(600, &app, [&] { app.quit(); });
        });
    });

    const int rc = app.exec();
    std::fprintf(stderr, "click_bench: %d beats at %.3f BPM (%.4f ms), %d nudges\n", beats, bpm, period * 1000.0, nudges);
    releaseBeatSoundEngine();
    return rc;
}
