// SPDX-License-Identifier: GPL-2.0-or-later
// The program's main window with its real sound output and detection modules, beating at
// 250 BPM while it samples a playing source, for a given time. Prints the resident memory at
// the start and the end, every tick later than one period plus 5 ms, and the CPU used.
// Run by bench/soak.sh, which starts the audio server and the playing source.
// Usage: fault_soak_harness SECONDS SOURCE_DESCRIPTION [beat]   ("beat": beating alone, no sampling)
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "common/MessageBox.h"
#include "metronome/WaveFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <sys/resource.h>
#include <algorithm>
#include <cstdio>

using namespace pulsivar;

namespace {
constexpr int periodMs = 240; // 250 BPM
constexpr double lateMs = 5.0;

// A field of /proc/self/status in kB: VmRSS (all resident), RssAnon (the heap and stacks) or
// RssShmem (shared memory such as the audio server's buffer pool).
long statusKb(const char *field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}
long residentKb() { return statusKb(); }

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    const QString source = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("pulsivar_soak");
    const bool sample = !(argc > 3 && qstrcmp(argv[3], "beat") == 0);
    int boxes = 0;
    setMessageAnswerer([&boxes](const MessageRequest &request) {
        ++boxes;
        std::fprintf(stderr, "message box: %s: %s\n", qPrintable(request.title), qPrintable(request.text));
        return QMessageBox::Ok;
    });

    // As at start-up: the beat waves are written beside the program when missing.
    ExtractWaveFiles();
    settings().PlayBeatSound = true;
    frmMetronome window;
    window.Form_Load();
    window.show();

    if (sample) {
        window.tabTempoSource->setCurrentIndex(1);
        int row = -1;
        for (int i = 0; i < window.lstAudioHardware->count(); ++i) {
            if (window.lstAudioHardware->item(i)->text().endsWith(QStringLiteral("Monitor of ") + source))
                row = i;
        }
        if (row < 0) {
            std::fprintf(stderr, "no monitor of %s among the input devices\n", qPrintable(source));
            return 2;
        }
        window.lstAudioHardware->setCurrentRow(row);
        window.cmdStartAudIn->click();
    }
    window.StartMetronome(periodMs, false, 1);

    QElapsedTimer clock;
    clock.start();
    qint64 lastTickNs = -1;
    long ticks = 0;
    long missed = 0;
    double worstMs = 0.0;
    auto *beatTimer = window.findChild<QTimer *>(QStringLiteral("oBeatTimer"));
    QObject::connect(beatTimer, &QTimer::timeout, &window, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTickNs >= 0) {
            const double intervalMs = (now - lastTickNs) / 1e6;
            worstMs = std::max(worstMs, intervalMs - periodMs);
            if (intervalMs > periodMs + lateMs) {
                ++missed;
                std::printf("late tick %ld at %.3f s: %.2f ms after the one before\n", ticks, now / 1e9, intervalMs);
            }
        }
        lastTickNs = now;
        ++ticks;
    });

    // The first seconds settle caches, fonts and audio buffers; memory is measured from then on.
    constexpr int settleMs = 10000;
    long startKb = 0;
    long startHeapKb = 0;
    double startCpu = 0.0;
    qint64 startWallNs = 0;
    QTimer::singleShot(settleMs, [&] {
        startKb = residentKb();
        startHeapKb = statusKb("RssAnon:");
        startCpu = cpuSeconds();
        startWallNs = clock.nsecsElapsed();
        std::printf("resident at start (after %d s): %ld kB (heap %ld kB)\n", settleMs / 1000, startKb, startHeapKb);
        std::fflush(stdout);
    });
    // A line a minute shows whether memory settles or keeps climbing.
    QTimer minute;
    minute.setInterval(60000);
    QObject::connect(&minute, &QTimer::timeout, [&] {
        std::printf("minute %lld: resident %ld kB (heap %ld, shared %ld), ticks %ld, late %ld, CPU %.1f s\n",
                    clock.elapsed() / 60000, residentKb(), statusKb("RssAnon:"), statusKb("RssShmem:"), ticks,
                    missed, cpuSeconds());
        std::fflush(stdout);
    });
    minute.start();
    QTimer::singleShot(settleMs + seconds * 1000, [&] {
        const long endKb = residentKb();
        const long endHeapKb = statusKb("RssAnon:");
        const double cpu = cpuSeconds() - startCpu;
        const double wall = (clock.nsecsElapsed() - startWallNs) / 1e9;
        const bool sampling = !window.cmdStartAudIn->isEnabled();
        std::printf("duration: %d s at %d BPM, sampling %s\n", seconds, 60000 / periodMs,
                    !sample ? "off (beating alone)" : sampling ? "running to the end" : "STOPPED");
        std::printf("resident at end: %ld kB (growth %ld kB; heap %ld kB, growth %ld kB)\n", endKb, endKb - startKb,
                    endHeapKb, endHeapKb - startHeapKb);
        std::printf("ticks: %ld, later than period + %.0f ms: %ld, worst lateness %.2f ms\n", ticks, lateMs,
                    missed, worstMs);
        std::printf("CPU: %.1f s in %.1f s = %.2f%% of a core\n", cpu, wall, 100.0 * cpu / wall);
        std::printf("message boxes: %d\n", boxes);
        std::fflush(stdout);
        window.cmdStopAudIn->click();
        window.StopMetronome();
        QApplication::quit();
    });
    return QApplication::exec();
}
