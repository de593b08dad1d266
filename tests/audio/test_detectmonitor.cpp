// SPDX-License-Identifier: GPL-2.0-or-later
// A track of known tempo played into the PulseAudio null sink, sampled from the sink's monitor by
// the real main window through the real capture and detector modules: the shown tempo is right.
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "platform/SkinLabel.h"
#include "MessageRecorder.h"
#include "StereoWave.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <SDL.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace pulsivar;

namespace {

constexpr int rate = 44100;
constexpr double trackBpm = 128.0;
constexpr int trackSeconds = 20;
constexpr int limitMs = 10000;

QString sinkName()
{
    const QString name = qEnvironmentVariable("PULSIVAR_SINK");
    return name.isEmpty() ? QStringLiteral("pulsivar_null") : name;
}

// Four on the floor: kick on every beat, snare on 2 and 4, closed hats on the eighths, a bass
// note on each beat's off-beat. Written as 16-bit stereo.
QByteArray renderTrack()
{
    const int frames = rate * trackSeconds;
    std::vector<double> mix(std::size_t(frames), 0.0);
    std::mt19937 noise(7);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    const double beatSeconds = 60.0 / trackBpm;
    const auto add = [&](double at, double length, auto &&voice) {
        const int first = int(at * rate);
        for (int i = 0; i < int(length * rate) && first + i < frames; ++i)
            mix[std::size_t(first + i)] += voice(double(i) / rate);
    };
    for (int beat = 0; beat * beatSeconds < trackSeconds; ++beat) {
        const double at = beat * beatSeconds;
        add(at, 0.25, [](double t) {
            const double pitch = 50.0 + 90.0 * std::exp(-t * 30.0);
            return 0.8 * std::exp(-t * 12.0) * std::sin(2.0 * M_PI * pitch * t);
        });
        if (beat % 2 == 1)
            add(at, 0.15, [&](double t) { return 0.35 * std::exp(-t * 25.0) * white(noise); });
        for (int half = 0; half < 2; ++half)
            add(at + half * beatSeconds / 2, 0.04, [&](double t) { return 0.12 * std::exp(-t * 90.0) * white(noise); });
        add(at + beatSeconds / 2, beatSeconds / 2.5, [&](double t) {
            const double hz = (beat / 8) % 2 ? 55.0 : 73.4;
            return 0.3 * std::exp(-t * 6.0) * std::sin(2.0 * M_PI * hz * t);
        });
    }
    QByteArray pcm(frames * 4, Qt::Uninitialized);
    auto *out = reinterpret_cast<qint16 *>(pcm.data());
    for (int i = 0; i < frames; ++i) {
        const auto sample = qint16(std::lround(std::clamp(mix[std::size_t(i)], -1.0, 1.0) * 26000.0));
        out[2 * i] = sample;
        out[2 * i + 1] = sample;
    }
    return pcm;
}

std::optional<double> shownTempo(const QString &label)
{
    if (!label.endsWith(QStringLiteral(" BPM")))
        return std::nullopt;
    bool ok = false;
    const double value = label.chopped(4).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

class DetectMonitorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString script = qEnvironmentVariable("PULSIVAR_START_PULSEAUDIO");
        QProcess start;
        start.start(QStringLiteral("sh"), {script, sinkName()});
        if (!start.waitForFinished(20000) || start.exitCode() != 0) {
            std::fprintf(stderr, "no PulseAudio here: %s\n", start.readAllStandardError().constData());
            std::exit(77);
        }
    }

    void theSinkMonitorsTempoIsShownWithinTenSeconds()
    {
        QTemporaryDir folder;
        const QString track = folder.filePath(QStringLiteral("track128.wav"));
        {
            QFile file(track);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(test::stereoWaveFile(renderTrack(), rate));
        }

        // A box would stop the run; it is recorded and shown in the verdict instead.
        test::MessageRecorder messages;
        settings() = ProgramSettings{};
        settings().PlayBeatSound = false;
        // The program folder is the build's, where both modules were built.
        frmMetronome window;
        window.Form_Load();
        window.findChild<QTabBar *>(QStringLiteral("tabTempoSource"))->setCurrentIndex(1);
        auto *devices = window.findChild<QListWidget *>(QStringLiteral("lstAudioHardware"));
        int monitor = -1;
        QStringList names;
        for (int i = 0; i < devices->count(); ++i) {
            names << devices->item(i)->text();
            if (devices->item(i)->text().contains(QStringLiteral("Monitor of Null Output")))
                monitor = i;
        }
        QVERIFY2(monitor >= 0, qPrintable(QStringLiteral("no null sink monitor among: ") + names.join(QStringLiteral("; "))));
        devices->setCurrentRow(monitor);
        window.lstAudioHardware_Click();
        window.findChild<QPushButton *>(QStringLiteral("cmdStartAudIn"))->click();

        QProcess player;
        player.start(QStringLiteral("paplay"), {QStringLiteral("--device=") + sinkName(), track});
        QVERIFY2(player.waitForStarted(5000), "paplay did not start");
        QElapsedTimer elapsed;
        elapsed.start();

        auto *bpm = window.findChild<SkinLabel *>(QStringLiteral("sknlblBPM"));
        QString last;
        std::optional<qint64> lockedAtMs;
        while (elapsed.elapsed() < limitMs) {
            QTest::qWait(50);
            last = bpm->text();
            const std::optional<double> tempo = shownTempo(last);
            if (tempo && std::abs(*tempo - trackBpm) <= 1.0) {
                lockedAtMs = elapsed.elapsed();
                break;
            }
        }
        std::fprintf(stderr, "shown: %s after %lld ms\n", qPrintable(last), static_cast<long long>(elapsed.elapsed()));
        for (const MessageRequest &request : messages.requests)
            std::fprintf(stderr, "message: %s: %s\n", qPrintable(request.title), qPrintable(request.text));
        QCOMPARE(messages.count(), 0);
        QVERIFY2(lockedAtMs, qPrintable(QStringLiteral("last shown: ") + last));
        // Once found, the tempo holds while the track plays on.
        while (elapsed.elapsed() < limitMs)
            QTest::qWait(50);
        last = bpm->text();
        std::fprintf(stderr, "shown at %d ms: %s\n", limitMs, qPrintable(last));
        const std::optional<double> held = shownTempo(last);
        QVERIFY2(held && std::abs(*held - trackBpm) <= 1.0, qPrintable(QStringLiteral("later shown: ") + last));
        window.findChild<QPushButton *>(QStringLiteral("cmdStopAudIn"))->click();
        player.kill();
        player.waitForFinished(3000);
    }
};

int main(int argc, char *argv[])
{
    // Monitor sources are listed only when this is set before SDL first starts its audio.
    SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
    QApplication application(argc, argv);
    DetectMonitorTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_detectmonitor.moc"
