// Beats BEATS times at BPM through the real sound engine and exits, so a recording of the
// output shows how evenly the clicks land. With --busy the GUI thread stalls 30 ms every
// 103 ms, a period that does not lock in phase with any beat.
#include "common/Clock.h"
#include "common/NumberText.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <cstdio>

using namespace pulsivar;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool busy = args.contains(QStringLiteral("--busy"));
    QStringList numbers = args;
    numbers.removeAll(QStringLiteral("--busy"));
    bool bpmOk = false, beatsOk = false;
    const int bpm = numbers.value(0).toInt(&bpmOk);
    const int beats = numbers.value(1).toInt(&beatsOk);
    if (numbers.size() != 2 || !bpmOk || !beatsOk || bpm < 30 || bpm > 250 || beats < 1) {
        std::fprintf(stderr, "usage: click_bench BPM BEATS [--busy]   (BPM 30 to 250)\n");
        return 3;
    }
    // The beat timer's whole-millisecond period, as the metronome arms it.
    const int periodMs = int(roundHalfEven(60000.0 / bpm));

    ExtractWaveFiles();
    const QString plain = plainWavePath();
    PrepareBeatSound();

    QTimer beatTimer;
    beatTimer.setTimerType(Qt::PreciseTimer);
    beatTimer.setInterval(periodMs);
    double start = 0.0;
    int beat = 0;
    double worstLateMs = 0.0;
    QObject::connect(&beatTimer, &QTimer::timeout, [&] {
        ++beat;
        const double due = start + beat * periodMs / 1000.0;
        worstLateMs = std::max(worstLateMs, (pulsivar::clock().monotonicSeconds() - due) * 1000.0);
        PlayWaveFileAt(plain, due);
        if (beat == beats) {
            beatTimer.stop();
            // Let the last click and the output latency play out before closing.
            QTimer::singleShot(600, &app, [&] { app.quit(); });
        }
    });

    QTimer stall;
    if (busy) {
        stall.setTimerType(Qt::PreciseTimer);
        stall.setInterval(103);
        QObject::connect(&stall, &QTimer::timeout, [] { QThread::msleep(30); });
    }

    // Give the output a moment to settle, as the program does between start-up and the first beat.
    QTimer::singleShot(300, &app, [&] {
        start = pulsivar::clock().monotonicSeconds();
        beatTimer.start();
        if (busy)
            stall.start();
    });

    const int rc = app.exec();
    std::fprintf(stderr, "click_bench: %d beats at %d ms, worst tick lateness %.1f ms\n", beat, periodMs,
                 worstLateMs);
    releaseBeatSoundEngine();
    return rc;
}
