// SPDX-License-Identifier: GPL-2.0-or-later
// The detector's parts on signals whose answer is known: onset strength, tempo, beat phase.

#include "BeatDetector.h"
#include "ClickTrack.h"
#include "OnsetEnvelope.h"
#include "TempoEstimator.h"

#include <QPointF>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

using namespace pulsivar::beatdetect;

// Counts heap allocations while switched on: the sample path must not allocate.
namespace {
std::atomic<long> allocations{0};
std::atomic<bool> countAllocations{false};
} // namespace

void* operator new(std::size_t size)
{
    if (countAllocations)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

class TestTempoFinding : public QObject {
    Q_OBJECT

    // Peak onset strength summed over the bands, for clicks at the given level.
    static double peakOnset(double amplitude)
    {
        OnsetEnvelope env;
        double peak = 0.0;
        for (float s : pulsivar::test::clickTrack(120, 2.0, amplitude)) {
            if (env.addSample(s / 32768.0f)) {
                const auto& f = env.frame();
                peak = std::max(peak, static_cast<double>(f[0] + f[1] + f[2]));
            }
        }
        return peak;
    }

private slots:
    void silenceHasNoOnsets()
    {
        OnsetEnvelope env;
        QVERIFY(env.valid());
        double total = 0.0;
        for (int i = 0; i < 44100; ++i)
            if (env.addSample(0.0f))
                total += env.frame()[0] + env.frame()[1] + env.frame()[2];
        QCOMPARE(total, 0.0);
    }

    void onsetStrengthHardlyDependsOnLevel()
    {
        const double loud = peakOnset(20000.0);
        const double quiet = peakOnset(2000.0);
        QVERIFY(loud > 0.0);
        QVERIFY2(quiet > 0.5 * loud, qPrintable(QString("%1 vs %2").arg(quiet).arg(loud)));
    }

    void pulseTrainGivesItsTempo_data()
    {
        QTest::addColumn<double>("bpm");
        for (double bpm : {70.0, 75.0, 100.0, 120.0, 140.0, 165.0, 190.0})
            QTest::newRow(qPrintable(QString::number(bpm))) << bpm;
    }

    // An even pulse between 70 and 190 BPM is heard at its own rate; slower bare pulses read
    // double, the tempo preference of dance and game music winning.
    void pulseTrainGivesItsTempo()
    {
        QFETCH(double, bpm);
        TempoEstimator estimator;
        const double period = 6000.0 / bpm;
        for (int n = 0; n < 1500; ++n) {
            const double phase = std::fmod(n, period);
            estimator.addFrame(phase < 1.0 ? 1.0f - static_cast<float>(phase) : -0.02f);
            if (n % 20 == 19)
                estimator.evaluate();
        }
        QVERIFY2(std::fabs(estimator.bpm() / bpm - 1.0) < 0.01,
                 qPrintable(QString("found %1").arg(estimator.bpm())));
    }

    void metricalLevelIsTheBeat_data()
    {
        // A bar of four beats as (beat position, strength) hits; every bar is the same.
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QList<QPointF>>("bar");
        QList<QPointF> halfTime{{0, 1.0}, {2, 0.9}};
        for (int i = 0; i < 8; ++i)
            halfTime.append({0.5 * i, 0.35});
        QTest::newRow("kick and snare on 1 and 3, eighth hats, 150") << 150.0 << halfTime;
        QTest::newRow("kick and snare on 1 and 3, eighth hats, 172") << 172.0 << halfTime;
        QList<QPointF> slowMelody;
        for (int i = 0; i < 8; ++i)
            slowMelody.append({0.5 * i, i % 2 ? 0.2 : (i == 0 ? 1.0 : 0.7)});
        QTest::newRow("chords on the beat, eighth melody, 84") << 84.0 << slowMelody;
        QTest::newRow("chords on the beat, eighth melody, 100") << 100.0 << slowMelody;
        QList<QPointF> fourOnTheFloor;
        for (int i = 0; i < 8; ++i)
            fourOnTheFloor.append({0.5 * i, i % 2 ? 0.95 : 1.0});
        QTest::newRow("kick on every beat, open hats between, 177") << 177.0 << fourOnTheFloor;
        QTest::newRow("kick on every beat, open hats between, 126") << 126.0 << fourOnTheFloor;
    }

    // Octave and two-thirds readings are the usual failure: the half-beat pulse and the bar
    // decide the level, not a single strong lag.
    void metricalLevelIsTheBeat()
    {
        QFETCH(double, bpm);
        QFETCH(QList<QPointF>, bar);
        TempoEstimator estimator;
        const double beatFrames = 6000.0 / bpm;
        std::vector<float> frames(3000, 0.0f);
        for (double start = 0.0; start < frames.size(); start += 4 * beatFrames) {
            for (const QPointF& hit : bar) {
                const auto at = static_cast<size_t>(std::lround(start + hit.x() * beatFrames));
                for (size_t k = 0; k < 3 && at + k < frames.size(); ++k)
                    frames[at + k] += static_cast<float>(hit.y() * (1.0 - 0.4 * k));
            }
        }
        double mean = 0.0;
        for (float f : frames)
            mean += f;
        mean /= frames.size();
        for (size_t n = 0; n < frames.size(); ++n) {
            estimator.addFrame(static_cast<float>(frames[n] - mean));
            if (n % 20 == 19)
                estimator.evaluate();
        }
        QVERIFY2(std::fabs(estimator.bpm() / bpm - 1.0) < 0.04,
                 qPrintable(QString("found %1").arg(estimator.bpm())));
    }

    void realMusicGivesItsTempoInTenSeconds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("bpm");
        QTest::newRow("tracker, 120 BPM") << "pekka-kana-2-song10.flac" << 120.098;
        QTest::newRow("tracker, 153.7 BPM") << "pekka-kana-2-song12.flac" << 153.659;
        QTest::newRow("tracker, 132 BPM") << "tomatoes-ihavenotomatoes.flac" << 132.036;
    }

    // Excerpts of game music (music/README.md): the beat level, not double, half or two thirds.
    void realMusicGivesItsTempoInTenSeconds()
    {
        QFETCH(QString, file);
        QFETCH(double, bpm);
        QProcess sox;
        sox.start("sox", {QStringLiteral(BEATDETECT_MUSIC "/") + file, "-t", "raw", "-e", "signed", "-b", "16",
                          "-c", "1", "-r", "44100", "-"});
        QVERIFY2(sox.waitForFinished(30000) && sox.exitCode() == 0, "sox cannot decode the excerpt");
        const QByteArray pcm = sox.readAllStandardOutput();
        const auto* samples = reinterpret_cast<const int16_t*>(pcm.constData());
        BeatDetector detector;
        for (qsizetype i = 0; i < pcm.size() / 2; ++i)
            detector.addSample(samples[i]);
        QVERIFY2(std::fabs(detector.bpm() / bpm - 1.0) <= 0.04, qPrintable(QString("found %1").arg(detector.bpm())));
    }

    // A module whose soft hats and chords sit half-way between the beats as often as on them:
    // the beats are where its loud attacks are.
    void realMusicBeatsFallOnItsBeats()
    {
        const double firstBeat = 0.2034;   // the corpus's beat times of the excerpt
        const double bpm = 125.0;
        QProcess sox;
        sox.start("sox", {QStringLiteral(BEATDETECT_MUSIC "/freedroid-dreamfish-sanxion.flac"), "-t", "raw",
                          "-e", "signed", "-b", "16", "-c", "1", "-r", "44100", "-"});
        QVERIFY2(sox.waitForFinished(30000) && sox.exitCode() == 0, "sox cannot decode the excerpt");
        const QByteArray pcm = sox.readAllStandardOutput();
        const auto* samples = reinterpret_cast<const int16_t*>(pcm.constData());
        BeatDetector detector;
        float marker = 0.0f;
        int beats = 0;
        int onTime = 0;
        for (qsizetype i = 0; i < pcm.size() / 2; ++i) {
            detector.addSample(samples[i]);
            const float now = detector.parameter(BeatDetector::BeatMarker);
            if (static_cast<int>(now) != static_cast<int>(marker) && i > 44100 * 6) {
                const double beat = (i / 44100.0 - firstBeat) * bpm / 60.0;
                ++beats;
                onTime += std::fabs(beat - std::round(beat)) * 60.0 / bpm <= 0.04 ? 1 : 0;
            }
            marker = now;
        }
        QVERIFY2(beats >= 6 && onTime >= beats - 1, qPrintable(QString("%1 of %2 on time").arg(onTime).arg(beats)));
    }

    void samplesAndPollsAllocateNothing()
    {
        const auto clicks = pulsivar::test::clickTrack(128, 20.0);
        BeatDetector detector;
        float sum = 0.0f;
        allocations = 0;
        countAllocations = true;
        for (size_t i = 0; i < clicks.size(); ++i) {
            detector.addSample(clicks[i]);
            if (i % 8820 == 0)
                sum += detector.parameter(0) + detector.parameter(1) + detector.parameter(2);
        }
        countAllocations = false;
        QCOMPARE(allocations.load(), 0L);
        QVERIFY(sum > 0.0f);
    }

    void noiseFindsNoConfidentTempo()
    {
        TempoEstimator estimator;
        uint32_t state = 12345;
        for (int n = 0; n < 1500; ++n) {
            state = state * 1664525u + 1013904223u;
            estimator.addFrame(static_cast<float>(state >> 8) / 16777216.0f - 0.5f);
            if (n % 20 == 19)
                estimator.evaluate();
        }
        QVERIFY2(estimator.confidence() < 0.3, qPrintable(QString::number(estimator.confidence())));
    }

    void beatsFallOnTheClicks_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::newRow("96") << 96.0;
        QTest::newRow("140") << 140.0;
    }

    void beatsFallOnTheClicks()
    {
        QFETCH(double, bpm);
        const double firstBeat = 0.3;
        const auto clicks = pulsivar::test::clickTrack(bpm, 15.0, 20000.0, firstBeat);
        BeatDetector detector;
        float marker = 0.0f;
        int beats = 0;
        int onTime = 0;
        for (size_t i = 0; i < clicks.size(); ++i) {
            detector.addSample(clicks[i]);
            const float now = detector.parameter(BeatDetector::BeatMarker);
            if (static_cast<int>(now) != static_cast<int>(marker) && i > 44100 * 8) {
                const double t = i / 44100.0;
                const double beatIndex = std::round((t - firstBeat) * bpm / 60.0);
                const double error = t - (firstBeat + beatIndex * 60.0 / bpm);
                ++beats;
                onTime += std::fabs(error) <= 0.05 ? 1 : 0;
            }
            marker = now;
        }
        QVERIFY2(beats > 0, qPrintable(QString("tempo %1").arg(detector.bpm())));
        QVERIFY2(onTime >= beats - 1, qPrintable(QString("%1 of %2 on time").arg(onTime).arg(beats)));
    }
};

QTEST_GUILESS_MAIN(TestTempoFinding)
#include "test_tempo_finding.moc"
