// SPDX-License-Identifier: GPL-2.0-or-later
// The detector's C interface as the program uses it: handles, parameter indices and hostile input.

#include "ClickTrack.h"

#include <QLibrary>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

namespace {

using CreateFn = int32_t (*)();
using AddSampleFn = void (*)(int32_t, float);
using GetParameterFn = float (*)(int32_t, int32_t);
using SetParameterFn = void (*)(int32_t, int32_t, float);
using DestroyFn = void (*)(int32_t);

} // namespace

class TestDetectorInterface : public QObject {
    Q_OBJECT

    QLibrary library{QStringLiteral(BPMDETECT_MODULE)};
    CreateFn create = nullptr;
    AddSampleFn addSample = nullptr;
    GetParameterFn getParameter = nullptr;
    SetParameterFn setParameter = nullptr;
    DestroyFn destroy = nullptr;

    void feed(int32_t h, const std::vector<float>& samples)
    {
        for (float s : samples)
            addSample(h, s);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        create = reinterpret_cast<CreateFn>(library.resolve("BPM_Create"));
        addSample = reinterpret_cast<AddSampleFn>(library.resolve("BPM_AddSample"));
        getParameter = reinterpret_cast<GetParameterFn>(library.resolve("BPM_getParameter"));
        setParameter = reinterpret_cast<SetParameterFn>(library.resolve("BPM_setParameter"));
        destroy = reinterpret_cast<DestroyFn>(library.resolve("BPM_Destroy"));
        QVERIFY(create && addSample && getParameter && setParameter && destroy);
    }

    void badHandlesAreIgnored_data()
    {
        QTest::addColumn<int>("handle");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("never issued") << 12345;
        QTest::newRow("largest") << std::numeric_limits<int32_t>::max();
        QTest::newRow("smallest") << std::numeric_limits<int32_t>::min();
    }

    void badHandlesAreIgnored()
    {
        QFETCH(int, handle);
        addSample(handle, 1000.0f);
        setParameter(handle, 0, 120.0f);
        destroy(handle);
        for (int index = 0; index < 3; ++index)
            QCOMPARE(getParameter(handle, index), 0.0f);
    }

    void destroyedHandleStaysDeadWhenItsSlotIsReused()
    {
        const int32_t first = create();
        QVERIFY(first != 0);
        destroy(first);
        destroy(first);
        const int32_t second = create();
        QVERIFY(second != 0);
        QVERIFY(second != first);
        feed(second, pulsivar::test::clickTrack(120, 1.0));
        addSample(first, 5000.0f);   // must not reach the new detector or crash
        QCOMPARE(getParameter(first, 2), 0.0f);
        destroy(second);
    }

    void manyCreatesEndInFailureNotCrash()
    {
        std::set<int32_t> handles;
        int failures = 0;
        for (int i = 0; i < 400; ++i) {
            const int32_t h = create();
            if (h == 0)
                ++failures;
            else
                QVERIFY(handles.insert(h).second);
        }
        QVERIFY(handles.size() >= 100);
        QVERIFY(failures > 0);
        for (int32_t h : handles)
            destroy(h);
        const int32_t again = create();
        QVERIFY(again != 0);
        destroy(again);
    }

    void unknownParameterIndicesReadZero_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("3") << 3;
        QTest::newRow("1000") << 1000;
    }

    void unknownParameterIndicesReadZero()
    {
        QFETCH(int, index);
        const int32_t h = create();
        feed(h, pulsivar::test::clickTrack(120, 6.0));
        setParameter(h, index, 7.0f);
        QCOMPARE(getParameter(h, index), 0.0f);
        destroy(h);
    }

    void silenceFindsNoTempo()
    {
        const int32_t h = create();
        for (int i = 0; i < 44100 * 10; ++i)
            addSample(h, 0.0f);
        QCOMPARE(getParameter(h, 0), 0.0f);
        QCOMPARE(getParameter(h, 1), 0.0f);
        QCOMPARE(getParameter(h, 2), 0.0f);
        destroy(h);
    }

    void extremeInputStaysFinite_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("full-scale square 2 Hz") << 0;
        QTest::newRow("full-scale square 1 kHz") << 1;
        QTest::newRow("positive DC") << 2;
        QTest::newRow("negative DC") << 3;
        QTest::newRow("NaN and infinities") << 4;
        QTest::newRow("beyond 16 bits") << 5;
    }

    void extremeInputStaysFinite()
    {
        QFETCH(int, kind);
        const int32_t h = create();
        const float inf = std::numeric_limits<float>::infinity();
        for (int i = 0; i < 44100 * 8; ++i) {
            float s = 0.0f;
            switch (kind) {
            case 0: s = (i / 11025) % 2 ? 32767.0f : -32768.0f; break;
            case 1: s = (i / 22) % 2 ? 32767.0f : -32768.0f; break;
            case 2: s = 32767.0f; break;
            case 3: s = -32768.0f; break;
            case 4: s = i % 3 == 0 ? std::nanf("") : (i % 3 == 1 ? inf : -inf); break;
            case 5: s = (i % 4410 < 100) ? 1e30f : -1e30f; break;
            }
            addSample(h, s);
        }
        for (int index = 0; index < 3; ++index) {
            const float v = getParameter(h, index);
            QVERIFY2(std::isfinite(v), qPrintable(QString("parameter %1 is %2").arg(index).arg(v)));
            QVERIFY(v >= 0.0f);
        }
        const float bpm = getParameter(h, 0);
        QVERIFY(bpm == 0.0f || (bpm >= 30.0f && bpm <= 300.0f));
        destroy(h);
    }

    void clickTrackTempoWithinOneBpmInTenSeconds_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("shownAtLeast");
        QTest::newRow("90") << 90.0 << 50.0;
        QTest::newRow("128") << 128.0 << 50.0;
        // A bare pulse this fast may as well be heard at 87: the confidence need not be high.
        QTest::newRow("174") << 174.0 << 0.0;
    }

    void clickTrackTempoWithinOneBpmInTenSeconds()
    {
        QFETCH(double, bpm);
        QFETCH(double, shownAtLeast);
        const int32_t h = create();
        feed(h, pulsivar::test::clickTrack(bpm, 10.0));
        QVERIFY2(std::fabs(getParameter(h, 0) - bpm) <= 1.0,
                 qPrintable(QString("found %1").arg(getParameter(h, 0))));
        // Confidence on the scale where three times the value is the percent shown.
        QVERIFY(getParameter(h, 1) * 3 >= shownAtLeast);
        destroy(h);
    }

    void beatMarkerCountsBeats()
    {
        const double bpm = 120.0;
        const int32_t h = create();
        feed(h, pulsivar::test::clickTrack(bpm, 10.0));
        const float before = getParameter(h, 2);
        feed(h, pulsivar::test::clickTrack(bpm, 5.0));   // carries on in step: 10 s is 20 beats
        const float counted = getParameter(h, 2) - before;
        QVERIFY2(std::fabs(counted - 10.0f) <= 1.0f, qPrintable(QString("counted %1").arg(counted)));
        destroy(h);
    }

    // Polled every 200 ms as the program does, the fraction tells how long ago the last beat was.
    void beatMarkerFractionGivesThePhase()
    {
        const double bpm = 120.0;
        const double firstBeat = 0.3;
        const auto clicks = pulsivar::test::clickTrack(bpm, 16.0, 20000.0, firstBeat);
        const int32_t h = create();
        int polls = 0;
        int onTime = 0;
        for (size_t i = 0; i < clicks.size(); ++i) {
            addSample(h, clicks[i]);
            if ((i + 1) % 8820 != 0 || i < 44100 * 10)
                continue;
            const float marker = getParameter(h, 2);
            const double fraction = marker - std::floor(marker);
            QVERIFY(fraction >= 0.0 && fraction < 1.0);
            const double lastBeat = (i + 1) / 44100.0 - fraction * 60.0 / bpm;
            const double error = std::remainder(lastBeat - firstBeat, 60.0 / bpm);
            ++polls;
            onTime += std::fabs(error) <= 0.02 ? 1 : 0;
        }
        destroy(h);
        QVERIFY2(onTime >= polls - 1, qPrintable(QString("%1 of %2 polls in phase").arg(onTime).arg(polls)));
    }
};

QTEST_GUILESS_MAIN(TestDetectorInterface)
#include "test_detector_interface.moc"
