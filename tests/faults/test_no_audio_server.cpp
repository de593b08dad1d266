// SPDX-License-Identifier: GPL-2.0-or-later
// No audio server at all, or a server without a single sink: the program's window still loads, the
// metronome beats (silently), and detection reports the audio engine as failed. Run twice: with
// SDL told to use PulseAudio, and with SDL choosing a driver itself, which falls back to ALSA
// without devices here.
#include "AudioFaults.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include "common/ProgramFolder.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QProcess>
#include <QTabBar>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

class NoAudioServerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/pulsivar-no-server");
        qputenv("PULSE_AUTOSPAWN", "0");
    }

    void beatsSilentlyAndDetectionSaysTheEngineFailed_data()
    {
        QTest::addColumn<bool>("serverWithoutSink");
        // SDL 2.26's PulseAudio driver crashes while it starts against a server without a sink.
        QTest::newRow("a server without a sink") << true;
        QTest::newRow("no server") << false;
    }
    void beatsSilentlyAndDetectionSaysTheEngineFailed()
    {
        QFETCH(bool, serverWithoutSink);
        QTemporaryDir serverFolder;
        QProcess server;
        const auto stopServer = qScopeGuard([&server] {
            server.kill();
            server.waitForFinished(3000);
            qputenv("PULSE_SERVER", "unix:/nonexistent/pulsivar-no-server");
        });
        if (serverWithoutSink) {
            const QString folder = serverFolder.path();
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char *name : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "HOME"})
                environment.insert(QString::fromLatin1(name), folder);
            server.setProcessEnvironment(environment);
            server.start(QStringLiteral("pulseaudio"),
                         {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                          "--load=module-native-protocol-unix socket=" + folder + "/native auth-anonymous=1"});
            if (!server.waitForStarted(5000))
                QSKIP("PulseAudio is not installed here");
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder + "/native"), 10000);
            qputenv("PULSE_SERVER", ("unix:" + folder + "/native").toLocal8Bit());
        }
        TestEnvironment env;
        MessageRecorder messages;
        setProgramFolder({});
        ExtractWaveFiles(); // the build's folder may already hold them
        const auto release = qScopeGuard([] { releaseBeatSoundEngine(); });
        settings().PlayBeatSound = true;
        BeatingWindow w;
        w.window.StartMetronome(250, false, 1);
        QTest::qWait(2000);
        QVERIFY2(w.ticks >= 6, qPrintable(QString::number(w.ticks)));
        QVERIFY(w.indicatorChanges >= w.ticks - 1);

        w.window.tabTempoSource->setCurrentIndex(1);
        QListWidget *list = w.window.lstAudioHardware;
        const QString failed = QStringLiteral("Could not initialize Audio Engine");
        const bool engineFailed = list->count() >= 1 && list->item(list->count() - 1)->text() == failed;
        // The panel is in view; no box while the tab came up.
        QVERIFY(w.window.fraAudioTempo->isVisibleTo(&w.window));
        QCOMPARE(messages.count(), 0);
        if (qEnvironmentVariable("SDL_AUDIODRIVER") == QLatin1String("pulseaudio")) {
            QVERIFY2(engineFailed, qPrintable(QStringLiteral("%1 devices listed").arg(list->count())));
        } else if (!engineFailed) {
            // Another driver came up without a server: an engine without devices.
            qInfo("SDL chose a driver without devices");
            QCOMPARE(list->count(), 0);
            QCOMPARE(list->toolTip(), QStringLiteral("There are no audio devices detected for your computer"));
            // Sampling has nothing to record from: it fails with the box, or stops, and the
            // buttons come back.
            w.window.cmdStartAudIn->click();
            QTRY_VERIFY_WITH_TIMEOUT(w.window.cmdStartAudIn->isEnabled(), 5000);
            QVERIFY(messages.count() <= 1);
            if (messages.count() == 1)
                QCOMPARE(messages.last().title, QStringLiteral("Error Generating BPM"));
            w.window.tabTempoSource->setCurrentIndex(0);
            QTest::qWait(1000);
            QVERIFY(w.ticks >= 8);
            w.window.StopMetronome();
            return;
        }
        QVERIFY(!w.window.fraAudioTempo->isEnabled());
        QVERIFY(!w.window.optChannel[3]->isEnabled());
        QVERIFY(w.window.detection().isUnavailable());

        // Choosing the tab again is refused with the notice and goes back to the manual panel.
        w.window.tabTempoSource->setCurrentIndex(0);
        w.window.tabTempoSource->setCurrentIndex(1);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QStringLiteral("Audio BPM Detection Unavailable"));
        QCOMPARE(w.window.tabTempoSource->currentIndex(), 0);

        // The beat went on through all of it.
        const int before = w.ticks;
        QTest::qWait(1000);
        QVERIFY(w.ticks - before >= 3);
        w.window.StopMetronome();
    }
};

QTEST_MAIN(NoAudioServerTest)
#include "test_no_audio_server.moc"
