// The detector's parts on signals whose answer is known: onset strength, tempo, beat phase.

#include "BeatDetector.h"
#include "ClickTrack.h"
#include "OnsetEnvelope.h"
#include "TempoEstimator.h"

#include <QPointF>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace pulsivar::beatdetect;

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
        for (double bpm : {62.0, 75.0, 100.0, 120.0, 140.0, 165.0, 190.0})
            QTest::newRow(qPrintable(QString::number(bpm))) << bpm;
    }

    // An even pulse is heard at its own rate when that rate lies in the common tempo range.
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
