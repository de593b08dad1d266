// SPDX-License-Identifier: GPL-2.0-or-later
// Prints how evenly the main window's beat clock ticks, and what beating costs.
// beatclock_bench [BPM TICKS]...   (default: 120 200 250 200)
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "common/Clock.h"
#include "common/TempoLimits.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace pulsivar;

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const double rank = p * (values.size() - 1);
    const size_t low = size_t(std::floor(rank));
    const size_t high = std::min(values.size() - 1, low + 1);
    return values[low] + (values[high] - values[low]) * (rank - low);
}

void measure(frmMetronome &window, int bpm, int ticks)
{
    std::vector<double> stamps;
    QEventLoop loop;
    auto connection = QObject::connect(window.oBeatTimer, &QTimer::timeout, [&] {
        stamps.push_back(pulsivar::clock().monotonicSeconds());
        if (int(stamps.size()) > ticks)
            loop.quit();
    });
    const int period = int(std::lround(60000.0 / bpm));
    const double cpuBefore = cpuSeconds();
    const double wallBefore = pulsivar::clock().monotonicSeconds();
    window.StartMetronome(period, false, 1);
    loop.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = pulsivar::clock().monotonicSeconds() - wallBefore;
    window.StopMetronome();
    QObject::disconnect(connection);

    std::vector<double> errors;
    for (size_t i = 1; i < stamps.size(); ++i)
        errors.push_back(std::fabs((stamps[i] - stamps[i - 1]) * 1000.0 - limitBeatInterval(period)));
    std::printf("%4d BPM, %d ticks of %d ms: interval error median %.3f ms, p99 %.3f ms, max %.3f ms; "
                "CPU %.2f%% of a core; resident %ld KiB\n",
                bpm, int(errors.size()), limitBeatInterval(period), percentile(errors, 0.5),
                percentile(errors, 0.99), *std::max_element(errors.begin(), errors.end()), 100.0 * cpu / wall,
                residentKiB());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    settings().PlayBeatSound = false;
    frmMetronome window;
    window.Form_Load();
    window.show();
    std::vector<std::pair<int, int>> runs;
    for (int i = 1; i + 1 < argc; i += 2)
        runs.emplace_back(std::atoi(argv[i]), std::atoi(argv[i + 1]));
    if (runs.empty())
        runs = {{120, 200}, {250, 200}};
    for (const auto &[bpm, ticks] : runs)
        measure(window, bpm, ticks);
    return 0;
}
