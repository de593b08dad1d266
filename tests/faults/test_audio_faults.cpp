// SPDX-License-Identifier: GPL-2.0-or-later
// The real audio system going away under the running program: the output device while the
// metronome beats, the capture source while sampling. Nothing may crash or hang, the beat goes
// on, and each comes back to work once its device is back, without a restart.
#include "common/Clock.h"
#include "AudioFaults.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include "common/ProgramFolder.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"
#include "detect/LevelMeter.h"

#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QtTest>
#include <cstdio>
#include <cstdlib>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
const QString mainSink = QStringLiteral("pulsivar_null");
constexpr int periodMs = 250; // 240 BPM: the tick the program can beat fastest

// Waits, with the event loop running, and gives the beats shown meanwhile (a display held up by
// a moment's stall skips to the beat due, so beats are counted, not ticks).
int ticksDuring(BeatingWindow &w, int ms)
{
    const BeatGrid &grid = w.window.beatGrid();
    const int64_t before = grid.next().index;
    QTest::qWait(ms);
    // A display held up at this very moment shows the beat due once it runs again.
    const int64_t due = grid.schedule().firstIndexAtOrAfter(pulsivar::clock().monotonicSeconds()) - 1;
    for (int waited = 0; waited < 3000 && grid.next().index < due; waited += 10)
        QTest::qWait(10);
    return int(grid.next().index - before);
}
} // namespace

class AudioFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!startPulseAudio()) {
            std::fprintf(stderr, "no PulseAudio here\n");
            std::exit(77);
        }
    }

    void outputDeviceVanishesWhileBeating()
    {
        // Every test run gets the sink back, whatever happens here.
        const auto restoreSink = qScopeGuard([] { startPulseAudio(); });
        TestEnvironment env;
        MessageRecorder messages;
        setProgramFolder(env.programFolder());
        QVERIFY(ExtractWaveFiles());
        const auto release = qScopeGuard([] { releaseBeatSoundEngine(); });
        settings().PlayBeatSound = true;
        BeatingWindow w;
        w.window.StartMetronome(periodMs, false, 1);

        MonitorRecorder before;
        QVERIFY(before.start(mainSink + QStringLiteral(".monitor")));
        QTRY_VERIFY_WITH_TIMEOUT(before.clicks() >= 5, 10000);
        before.stop();

        // The only output device goes away: its stream has nowhere to move to.
        const QString module = sinkModule(mainSink);
        QVERIFY(!module.isEmpty());
        QVERIFY(unloadModule(module));
        const int changesBefore = w.indicatorChanges;
        const int ticksBefore = w.ticks;
        const int ticksWithoutDevice = ticksDuring(w, 3000);
        QVERIFY2(ticksWithoutDevice >= 3000 / periodMs - 2, qPrintable(QString::number(ticksWithoutDevice)));
        QVERIFY(w.indicatorChanges - changesBefore >= w.ticks - ticksBefore - 1);

        // The device comes back; the clicks follow within the engine's look-again interval.
        QVERIFY(startPulseAudio());
        MonitorRecorder after;
        QVERIFY(after.start(mainSink + QStringLiteral(".monitor")));
        QTRY_VERIFY_WITH_TIMEOUT(after.clicks() >= 4, 10000);
        after.stop();
        qInfo("after the device came back: %s", qPrintable(after.describe()));
        QVERIFY(w.window.isMetronomeRunning());
        QCOMPARE(messages.count(), 0);
        w.window.StopMetronome();
    }

    void captureSourceVanishesWhileSampling()
    {
        const QString source = QStringLiteral("pulsivar_fault_source");
        TestEnvironment env;
        MessageRecorder messages;
        // The detection modules live beside the test, in the build's program folder.
        setProgramFolder({});
        QString module = loadNullSink(source);
        QVERIFY(!module.isEmpty());
        const auto unload = qScopeGuard([&] {
            if (!module.isEmpty())
                unloadModule(module);
        });
        settings().PlayBeatSound = false;
        BeatingWindow w;
        w.window.StartMetronome(periodMs, false, 1);

        w.window.tabTempoSource->setCurrentIndex(1);
        QListWidget *list = w.window.lstAudioHardware;
        int row = -1;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().endsWith(QStringLiteral("Monitor of ") + source))
                row = i;
        }
        QVERIFY2(row >= 0, qPrintable(QStringLiteral("no monitor of the source among %1 devices").arg(list->count())));
        list->setCurrentRow(row);

        TonePlayer tone;
        QVERIFY(tone.start(source, 30.0));
        LevelMeter *meter = w.window.picAudioMeter[0];
        w.window.cmdStartAudIn->click();
        QVERIFY(!w.window.cmdStartAudIn->isEnabled());
        // The tone peaks at 37% of full scale.
        QTRY_VERIFY_WITH_TIMEOUT(meter->level() > 0.2, 5000);

        // The source vanishes mid-run.
        QVERIFY(unloadModule(module));
        module.clear();
        const int ticksBefore = w.ticks;
        QTRY_VERIFY_WITH_TIMEOUT(w.window.cmdStartAudIn->isEnabled(), 8000);
        QVERIFY(!w.window.cmdStopAudIn->isEnabled());
        // It ends with the failure box or quietly; never with anything else.
        QVERIFY(messages.count() <= 1);
        if (messages.count() == 1) {
            QCOMPARE(messages.last().title, QStringLiteral("Error Generating BPM"));
            QVERIFY(messages.last().text.startsWith(
                QStringLiteral("An error occurred while sampling the input audio stream to generate an automatic BPM value: \nError Description: ")));
            qInfo("sampling ended with: %s", qPrintable(messages.last().text.section(u'\n', 1)));
        } else {
            qInfo("sampling stopped without a message");
        }
        // The beat went on meanwhile.
        QVERIFY(ticksDuring(w, 1000) >= 1000 / periodMs - 1);
        QVERIFY(w.ticks > ticksBefore);

        // The source is back: starting again records from it.
        module = loadNullSink(source);
        QVERIFY(!module.isEmpty());
        TonePlayer again;
        QVERIFY(again.start(source, 30.0));
        QTest::qWait(500);
        messages.clear();
        QCOMPARE(meter->level(), 0.0);
        w.window.cmdStartAudIn->click();
        QTRY_VERIFY_WITH_TIMEOUT(meter->level() > 0.2 || messages.count() > 0, 8000);
        // SDL lists a device that comes back under a new name ("Monitor of X (2)"): Start finds
        // it again by its name.
        QVERIFY2(messages.count() == 0 && meter->level() > 0.2,
                 qPrintable(messages.count() ? messages.last().text.section(u'\n', 1) : QStringLiteral("no level")));
        if (messages.count() > 0) {
            // Failing to start is reported and leaves the window ready for another try.
            QCOMPARE(messages.last().title, QStringLiteral("Error Generating BPM"));
            QTRY_VERIFY_WITH_TIMEOUT(w.window.cmdStartAudIn->isEnabled(), 3000);
            w.window.StopMetronome();
            return;
        }
        w.window.cmdStopAudIn->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.window.cmdStartAudIn->isEnabled(), 3000);
        w.window.StopMetronome();
    }
};

QTEST_MAIN(AudioFaultsTest)
#include "test_audio_faults.moc"
