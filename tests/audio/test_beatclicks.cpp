// SPDX-License-Identifier: GPL-2.0-or-later
// Clicks at 120 BPM with an accent on beat 1 of 4, played through the real sound output into a
// PulseAudio null sink and recorded from its monitor: the recording shows the accent pattern,
// on time through a stalled GUI thread, on the default output when the chosen one is gone.
#include "common/Clock.h"
#include "common/ProgramFolder.h"
#include "metronome/BeatGrid.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace pulsivar;

namespace {

constexpr int rate = 44100;
constexpr int channels = 2;
constexpr int beats = 12;
constexpr int beatsPerMeasure = 4;
constexpr int periodMs = 500;

QString sinkName()
{
    const QString name = qEnvironmentVariable("PULSIVAR_SINK");
    return name.isEmpty() ? QStringLiteral("pulsivar_null") : name;
}

struct Click {
    int frame;
    double peak;
    double brightness;  // energy near the accent's pitch over energy near the plain one's
};

double goertzelPower(const std::vector<float> &x, int from, int length, double hz)
{
    const double k = 2.0 * std::cos(2.0 * M_PI * hz / rate);
    double s1 = 0.0, s2 = 0.0;
    for (int i = from; i < from + length && i < int(x.size()); ++i) {
        const double s0 = x[i] + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

std::vector<Click> findClicks(const std::vector<float> &x)
{
    float global = 0.0f;
    for (float v : x)
        global = std::max(global, std::abs(v));
    std::vector<Click> clicks;
    if (global < 0.01f)
        return clicks;
    const float threshold = 0.1f * global;
    const int rearm = rate * 150 / 1000;
    for (int i = 0; i < int(x.size()); ++i) {
        if (std::abs(x[i]) < threshold)
            continue;
        double peak = 0.0;
        for (int j = i; j < i + rate / 50 && j < int(x.size()); ++j)
            peak = std::max(peak, double(std::abs(x[j])));
        const int from = i + rate / 500;       // past the common attack
        const int length = rate * 30 / 1000;  // the body's first 30 ms
        const double bright = goertzelPower(x, from, length, 2090.0) + goertzelPower(x, from, length, 4380.0);
        const double dull = goertzelPower(x, from, length, 1250.0) + goertzelPower(x, from, length, 3440.0);
        clicks.push_back({i, peak, bright / std::max(dull, 1e-12)});
        i += rearm;
    }
    return clicks;
}

} // namespace

class BeatClicksTest : public QObject {
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
        // The output opens on this sink whatever the default is.
        qputenv("PULSE_SINK", sinkName().toLocal8Bit());
    }

    void recordingShowsTheAccentPattern()
    {
        // Only the program folder moves: PulseAudio clients find the server's cookie under the
        // user's configuration folder, which must stay where it is.
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        const auto restore = qScopeGuard([] { setProgramFolder({}); });
        QVERIFY(ExtractWaveFiles());

        QProcess recorder;
        recorder.start(QStringLiteral("parec"),
                       {QStringLiteral("--device=") + sinkName() + QStringLiteral(".monitor"), QStringLiteral("--format=s16le"),
                        QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                        QStringLiteral("--latency-msec=20"), QStringLiteral("--raw")});
        QVERIFY2(recorder.waitForStarted(5000), "parec did not start");
        QByteArray raw;
        QObject::connect(&recorder, &QProcess::readyReadStandardOutput,
                         [&] { raw += recorder.readAllStandardOutput(); });

        // The monitor hands over some of the sink's past output first: only what comes after
        // the beats start counts.
        QTRY_VERIFY_WITH_TIMEOUT(!raw.isEmpty(), 10000);
        // Asked for an output that is not there, the clicks play on the default one and say so once.
        BeatSoundEngine &engine = beatSoundEngine();
        engine.setOutputDevice(QStringLiteral("No such output"));
        QVERIFY(engine.setBeatSounds(plainWavePath(), accentWavePath()));
        QVERIFY(engine.takeFallbackNotice());
        QVERIFY(!engine.takeFallbackNotice());
        QTest::qWait(700);
        const qsizetype startByte = raw.size() - raw.size() % (2 * channels);

        // The beats as the metronome hands them over: the grid's schedule, placed by the audio
        // thread. The GUI thread then stalls for 300 ms in the middle of the run.
        BeatGrid grid;
        grid.setMeasure(0.0, beatsPerMeasure, 1);
        grid.setAudible(true);
        grid.start(pulsivar::clock().monotonicSeconds(), periodMs / 1000.0, 1);
        engine.setSchedule(grid.schedule());
        QTest::qWait(periodMs * beats / 2 + periodMs / 3);
        QThread::msleep(300);
        QTest::qWait(periodMs * (beats - beats / 2) - periodMs / 3 - 300 + periodMs / 2);
        grid.stop(pulsivar::clock().monotonicSeconds());
        engine.setSchedule(grid.schedule());
        QTest::qWait(800);
        // An underrun of the output (a machine too busy to feed it) delays every later click by
        // its length, and the engine reports that as the clicks' offset from their due times.
        const double underrunMs = std::max(0.0, engine.soundingOffsetSeconds() * 1000.0);
        recorder.terminate();
        recorder.waitForFinished(3000);
        raw += recorder.readAllStandardOutput();
        releaseBeatSoundEngine();
        if (raw.isEmpty())
            qWarning("parec: %s", recorder.readAllStandardError().constData());

        // For a look at a failed run: PULSIVAR_KEEP_RECORDING=file.raw keeps the s16le stereo recording.
        if (qEnvironmentVariableIsSet("PULSIVAR_KEEP_RECORDING")) {
            QFile keep(qEnvironmentVariable("PULSIVAR_KEEP_RECORDING"));
            if (keep.open(QIODevice::WriteOnly))
                keep.write(raw);
        }
        const int frames = int((raw.size() - startByte) / (2 * channels));
        QVERIFY2(frames > beats * periodMs * rate / 1000, "recording too short");
        std::vector<float> left(static_cast<std::size_t>(frames));
        const auto *samples = reinterpret_cast<const qint16 *>(raw.constData() + startByte);
        for (std::size_t i = 0; i < left.size(); ++i)
            left[i] = samples[i * channels] / 32768.0f;
        const std::vector<Click> clicks = findClicks(left);

        QCOMPARE(int(clicks.size()), beats);
        // The stall moved nothing; only an underrun the engine reported may lengthen intervals.
        double lengthened = 0.0;
        for (int i = 1; i < beats; ++i) {
            const double interval = (clicks[i].frame - clicks[i - 1].frame) * 1000.0 / rate;
            const QString seen = QStringLiteral("interval %1 ms, underrun %2 ms").arg(interval).arg(underrunMs);
            if (std::abs(interval - periodMs) >= 2.0) {
                QVERIFY2(interval > periodMs, qPrintable(seen));
                lengthened += interval - periodMs;
            }
            QVERIFY2(lengthened < underrunMs + 2.0, qPrintable(seen));
        }
        for (int i = 0; i < beats; ++i) {
            const bool accent = i % beatsPerMeasure == 0;
            QVERIFY2(accent == (clicks[i].brightness > 1.0),
                     qPrintable(QStringLiteral("beat %1 brightness %2").arg(i + 1).arg(clicks[i].brightness)));
            const Click &previous = clicks[i == 0 ? 1 : i - 1];
            if (accent)
                QVERIFY(clicks[i].peak > previous.peak * 1.1);
        }
    }
};

QTEST_GUILESS_MAIN(BeatClicksTest)
#include "test_beatclicks.moc"
