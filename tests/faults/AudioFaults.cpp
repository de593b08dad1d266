// SPDX-License-Identifier: GPL-2.0-or-later
#include "AudioFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <cmath>
#include <numbers>
#include <vector>

namespace pulsivar::test {

QString pactl(const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    const bool finished = process.waitForFinished(10000);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool startPulseAudio()
{
    const QString script = qEnvironmentVariable("PULSIVAR_START_PULSEAUDIO");
    if (script.isEmpty())
        return false;
    QProcess start;
    start.start(QStringLiteral("sh"), {script});
    if (!start.waitForFinished(20000) || start.exitCode() != 0)
        return false;
    // Clients find the server's socket and cookie under the configuration folder, which window
    // tests move: name both outright.
    if (!qEnvironmentVariableIsSet("PULSE_SERVER")) {
        const QStringList lines = pactl({QStringLiteral("info")}).split(u'\n');
        for (const QString &line : lines) {
            const QString server = line.section(QStringLiteral("Server String: "), 1).trimmed();
            if (server.startsWith(u'/'))
                qputenv("PULSE_SERVER", QFile::encodeName(QStringLiteral("unix:") + server));
        }
    }
    if (!qEnvironmentVariableIsSet("PULSE_COOKIE")) {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty())
            config = QDir::homePath() + QStringLiteral("/.config");
        const QString cookie = config + QStringLiteral("/pulse/cookie");
        if (QFileInfo::exists(cookie))
            qputenv("PULSE_COOKIE", QFile::encodeName(cookie));
    }
    return true;
}

QString sinkModule(const QString &sink)
{
    const QStringList lines = pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("modules")})
                                  .split(u'\n');
    const QString argument = QStringLiteral("sink_name=") + sink;
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() >= 3 && fields[1] == QLatin1String("module-null-sink")
            && fields[2].split(u' ').contains(argument))
            return fields[0];
    }
    return {};
}

QString loadNullSink(const QString &sink)
{
    bool ok = false;
    const QString module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                  QStringLiteral("sink_name=") + sink,
                                  QStringLiteral("sink_properties=device.description=") + sink},
                                 &ok);
    // A suspended sink renders nothing, so its monitor would deliver nothing.
    pactl({QStringLiteral("suspend-sink"), sink, QStringLiteral("0")});
    return ok ? module : QString();
}

bool unloadModule(const QString &module)
{
    bool ok = false;
    pactl({QStringLiteral("unload-module"), module}, &ok);
    return ok;
}

bool MonitorRecorder::start(const QString &source)
{
    raw.clear();
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] { raw += process.readAllStandardOutput(); });
    process.start(QStringLiteral("parec"),
                  {QStringLiteral("--device=") + source, QStringLiteral("--format=s16le"),
                   QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                   QStringLiteral("--latency-msec=20"), QStringLiteral("--raw")});
    return process.waitForStarted(5000);
}

void MonitorRecorder::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
    raw += process.readAllStandardOutput();
}

int MonitorRecorder::clicks() const
{
    constexpr int rate = 44100;
    const auto *samples = reinterpret_cast<const qint16 *>(raw.constData());
    const qsizetype frames = raw.size() / 4;
    int found = 0;
    for (qsizetype i = 0; i < frames; ++i) {
        if (std::abs(int(samples[2 * i])) < 3277)
            continue;
        ++found;
        i += rate * 150 / 1000;
    }
    return found;
}

QString MonitorRecorder::describe() const
{
    const auto *samples = reinterpret_cast<const qint16 *>(raw.constData());
    int peak = 0;
    for (qsizetype i = 0; i < raw.size() / 4; ++i)
        peak = std::max(peak, std::abs(int(samples[2 * i])));
    return QStringLiteral("%1 clicks in %2 ms of recording, peak %3").arg(clicks()).arg(raw.size() / 4 * 1000 / 44100).arg(peak);
}

bool TonePlayer::start(const QString &sink, double seconds)
{
    constexpr int rate = 44100;
    const QString file = folder.filePath(QStringLiteral("tone.raw"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const int frames = int(seconds * rate);
    std::vector<qint16> samples;
    samples.reserve(std::size_t(frames) * 2);
    for (int n = 0; n < frames; ++n) {
        const auto value = qint16(std::lround(12000.0 * std::sin(2 * std::numbers::pi * 440.0 * n / rate)));
        samples.push_back(value);
        samples.push_back(value);
    }
    out.write(reinterpret_cast<const char *>(samples.data()), qint64(samples.size() * sizeof(qint16)));
    out.close();
    player.start(QStringLiteral("pacat"),
                 {QStringLiteral("--playback"), QStringLiteral("--raw"), QStringLiteral("--device=") + sink,
                  QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                  QStringLiteral("--latency-msec=200"), file});
    return player.waitForStarted(5000);
}

TonePlayer::~TonePlayer()
{
    player.kill();
    player.waitForFinished(5000);
}

BeatingWindow::BeatingWindow()
{
    window.Form_Load();
    auto *timer = window.findChild<QTimer *>(QStringLiteral("oBeatTimer"));
    QObject::connect(timer, &QTimer::timeout, &window, [this] {
        ++ticks;
        const QString text = indicator()->text();
        if (text != lastBeatText)
            ++indicatorChanges;
        lastBeatText = text;
    });
}

} // namespace pulsivar::test
