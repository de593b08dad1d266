// SPDX-License-Identifier: GPL-2.0-or-later
// Records a PulseAudio null sink's monitor through the audio input module: the tone played into
// the sink comes back whole, and a sink that vanishes mid-recording is reported, not hung on.
// Runs against the server that tests/audio/start-pulseaudio.sh makes sure of; each test plays
// into a null sink of its own so tests sharing the server cannot hear each other.
#include "detect/AudioInputLibrary.h"
#include "detect/AudioInputModuleEngine.h"

#include <SDL.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <numbers>

using namespace pulsivar;

namespace {

constexpr int rate = 44100;
constexpr double leftHz = 440.0;
constexpr double rightHz = 1000.0;
constexpr double leftAmplitude = 12000.0;
constexpr double rightAmplitude = 6000.0;

QString pactl(const QStringList &arguments, bool *ok = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    const bool finished = process.waitForFinished(10000);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A null sink that lives as long as this object, named so its monitor is easy to find.
class NullSink {
public:
    explicit NullSink(QString sinkName) : name(std::move(sinkName)) { load(); }
    ~NullSink() { unload(); }

    bool load()
    {
        bool ok = false;
        const QString index = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                     QStringLiteral("sink_name=") + name,
                                     QStringLiteral("sink_properties=device.description=") + name},
                                    &ok);
        module = ok ? index : QString();
        // A suspended sink renders nothing, so its monitor would deliver nothing.
        pactl({QStringLiteral("suspend-sink"), name, QStringLiteral("0")});
        return ok;
    }
    void unload()
    {
        if (!module.isEmpty())
            pactl({QStringLiteral("unload-module"), module});
        module.clear();
    }
    bool loaded() const { return !module.isEmpty(); }
    // The name SDL gives the sink's monitor source: its description.
    QString monitorName() const { return QStringLiteral("Monitor of ") + name; }

    const QString name;

private:
    QString module;
};

// Plays a left 440 Hz and right 1 kHz tone into a sink for a while.
class TonePlayer {
public:
    bool start(const QString &sink, double seconds)
    {
        const QString file = folder.filePath(QStringLiteral("tone.raw"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return false;
        const int frames = static_cast<int>(seconds * rate);
        std::vector<qint16> samples;
        samples.reserve(static_cast<std::size_t>(frames) * 2);
        for (int n = 0; n < frames; ++n) {
            const double t = static_cast<double>(n) / rate;
            samples.push_back(static_cast<qint16>(std::lround(
                leftAmplitude * std::sin(2 * std::numbers::pi * leftHz * t))));
            samples.push_back(static_cast<qint16>(std::lround(
                rightAmplitude * std::sin(2 * std::numbers::pi * rightHz * t))));
        }
        out.write(reinterpret_cast<const char *>(samples.data()),
                  static_cast<qint64>(samples.size() * sizeof(qint16)));
        out.close();
        player.start(QStringLiteral("pacat"),
                     {QStringLiteral("--playback"), QStringLiteral("--raw"),
                      QStringLiteral("--device=") + sink, QStringLiteral("--format=s16le"),
                      QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                      QStringLiteral("--latency-msec=1000"), file});
        return player.waitForStarted(5000);
    }
    ~TonePlayer()
    {
        player.kill();
        player.waitForFinished(5000);
    }

private:
    QTemporaryDir folder;
    QProcess player;
};

// Polls the device list until the named device shows up (devices appear a moment after a sink
// is loaded); -1 when it does not.
int findDriver(AudioInputEngine &engine, const QString &name)
{
    QDeadlineTimer deadline(8000);
    do {
        if (const auto count = engine.recordDriverCount()) {
            for (int i = 0; i < *count; ++i) {
                // SDL numbers a name that is still taken, e.g. by a device just removed.
                const QString listed = engine.recordDriverName(i).value_or(QString());
                if (listed == name || listed.startsWith(name + QStringLiteral(" (")))
                    return i;
            }
        }
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    QStringList seen;
    for (int i = 0; i < engine.recordDriverCount().value_or(0); ++i)
        seen << engine.recordDriverName(i).value_or(QStringLiteral("?"));
    qWarning("%s is not among the devices: %s", qPrintable(name), qPrintable(seen.join(", ")));
    return -1;
}

// Reads blocks as the capture loop does, from the last position up to the current one, until
// `frames` frames are collected or the time runs out.
std::vector<qint16> captureFrames(AudioInputEngine &engine, quint32 frames, int timeoutMs)
{
    std::vector<qint16> all;
    std::vector<qint16> block;
    quint32 last = 0;
    const quint32 length = engine.soundLengthFrames().value_or(0);
    QDeadlineTimer deadline(timeoutMs);
    while (all.size() / 2 < frames && !deadline.hasExpired() && length > 0) {
        const auto position = engine.recordPosition();
        if (!position)
            break;
        if (*position != last) {
            const quint32 count = *position > last ? *position - last : *position + length - last;
            if (!engine.readFrames(last, count, block))
                break;
            all.insert(all.end(), block.begin(), block.end());
            last = *position;
            engine.update();
        }
        QTest::qWait(5);
    }
    return all;
}

double peakOf(const std::vector<qint16> &samples, int channel, std::size_t from, std::size_t to)
{
    double peak = 0;
    for (std::size_t i = from; i < to; ++i)
        peak = std::max(peak, std::abs(static_cast<double>(samples[i * 2 + channel])));
    return peak;
}

// The frames where a pure tone does not continue as a pure tone: a dropped, repeated or
// misplaced block shows up as a jump.
int breaksInTone(const std::vector<qint16> &samples, int channel, double hz, std::size_t from,
                 std::size_t to)
{
    const double k = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    int breaks = 0;
    for (std::size_t n = from + 1; n + 1 < to; ++n) {
        const double prev = samples[(n - 1) * 2 + channel];
        const double here = samples[n * 2 + channel];
        const double next = samples[(n + 1) * 2 + channel];
        if (std::abs(next - k * here + prev) > 40) {
            if (++breaks <= 4)
                qWarning("channel %d breaks at frame %zu of %zu: %g %g %g", channel, n, to, prev,
                         here, next);
        }
    }
    return breaks;
}

bool startRecordingFrom(ModuleAudioInputEngine &engine, const QString &monitor)
{
    if (!engine.load() || !engine.createSystem())
        return false;
    const int driver = findDriver(engine, monitor);
    return driver >= 0 && engine.initSystem() && engine.setRecordDriver(driver)
        && engine.createRecordingSound() && engine.startRecording();
}

} // namespace

class TestPulseCapture : public QObject {
    Q_OBJECT

private:
    QString uniqueName(const char *what) const
    {
        return QStringLiteral("pulsivar_audioin_%1_%2")
            .arg(QLatin1String(what))
            .arg(QCoreApplication::applicationPid());
    }

private slots:
    void initTestCase()
    {
        bool ok = false;
        pactl({QStringLiteral("info")}, &ok);
        QVERIFY2(ok, "no PulseAudio server answers; run tests/audio/start-pulseaudio.sh first");
    }

    void theSinkMonitorIsListedAndItsToneComesBackWhole()
    {
        NullSink sink(uniqueName("tone"));
        QVERIFY(sink.loaded());
        ModuleAudioInputEngine engine;
        QVERIFY2(startRecordingFrom(engine, sink.monitorName()), qPrintable(engine.lastError()));
        TonePlayer tone;
        QVERIFY(tone.start(sink.name, 6.0));

        // Three seconds of a two-second loop: the reading passes the wrap at least once.
        const quint32 wanted = 3 * rate + rate / 2;
        const std::vector<qint16> samples = captureFrames(engine, wanted, 20000);
        QVERIFY2(samples.size() / 2 >= wanted, qPrintable(engine.lastError()));

        // The tone starts a little after recording; check it from there on.
        std::size_t start = 0;
        while (start < samples.size() / 2 && std::abs(samples[start * 2]) < 2000)
            ++start;
        const std::size_t end = samples.size() / 2;
        QVERIFY2(end - start > std::size_t{2 * rate}, "the tone did not arrive");
        start += 200;
        QVERIFY(std::abs(peakOf(samples, 0, start, end) - leftAmplitude) < leftAmplitude * 0.05);
        QVERIFY(std::abs(peakOf(samples, 1, start, end) - rightAmplitude) < rightAmplitude * 0.05);
        QCOMPARE(breaksInTone(samples, 0, leftHz, start, end), 0);
        QCOMPARE(breaksInTone(samples, 1, rightHz, start, end), 0);

        QVERIFY(engine.stopRecording());
        QVERIFY(engine.releaseSound());
        QVERIFY(engine.closeSystem());
    }

    void aSinkThatVanishesIsReportedAndRecordingWorksAfterReinit_data()
    {
        QTest::addColumn<bool>("besideOutput");
        QTest::newRow("alone") << false;
        QTest::newRow("beside another SDL audio user") << true;
    }

    void aSinkThatVanishesIsReportedAndRecordingWorksAfterReinit()
    {
        QFETCH(bool, besideOutput);
        // The output engine keeps SDL audio running in the same process; the module must not
        // need it to stop for a new device list.
        if (besideOutput) {
            SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
            QCOMPARE(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
        }
        const auto releaseOutput = qScopeGuard([&] {
            if (besideOutput)
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
        });

        NullSink sink(uniqueName(besideOutput ? "fault_beside" : "fault_alone"));
        QVERIFY(sink.loaded());
        {
            ModuleAudioInputEngine engine;
            QVERIFY2(startRecordingFrom(engine, sink.monitorName()), qPrintable(engine.lastError()));
            TonePlayer tone;
            QVERIFY(tone.start(sink.name, 10.0));
            QVERIFY(captureFrames(engine, rate / 2, 10000).size() / 2 >= rate / 2);

            sink.unload();
            QTRY_VERIFY_WITH_TIMEOUT(!engine.recordPosition() || !engine.update(), 5000);
            QVERIFY(!engine.update());
            QVERIFY(!engine.lastError().isEmpty());

            // The module's own answer: a disconnection code and a position that stays put.
            AudioInputLibrary api;
            QVERIFY(api.load());
            uint32_t before = 0;
            uint32_t after = 0;
            QCOMPARE(api.FMOD_System_GetRecordPosition(engine.systemHandle(), &before),
                     FMOD_ERR_RECORD_DISCONNECTED);
            QTest::qWait(300);
            QCOMPARE(api.FMOD_System_GetRecordPosition(engine.systemHandle(), &after),
                     FMOD_ERR_RECORD_DISCONNECTED);
            QCOMPARE(after, before);
            int32_t recording = 1;
            QCOMPARE(api.FMOD_System_IsRecording(engine.systemHandle(), &recording),
                     FMOD_ERR_RECORD_DISCONNECTED);
            QCOMPARE(recording, 0);

            QVERIFY(engine.stopRecording());
            QVERIFY(engine.releaseSound());
            QVERIFY(engine.closeSystem());
        }

        QVERIFY(sink.load());
        ModuleAudioInputEngine engine;
        QVERIFY2(startRecordingFrom(engine, sink.monitorName()), qPrintable(engine.lastError()));
        TonePlayer tone;
        QVERIFY(tone.start(sink.name, 6.0));
        const std::vector<qint16> samples = captureFrames(engine, rate * 3, 15000);
        QVERIFY2(samples.size() / 2 >= std::size_t{rate * 3}, qPrintable(engine.lastError()));
        QVERIFY(peakOf(samples, 0, 0, samples.size() / 2) > leftAmplitude * 0.9);
        QVERIFY(engine.closeSystem());
    }
};

QTEST_GUILESS_MAIN(TestPulseCapture)
#include "test_pulse_capture.moc"
