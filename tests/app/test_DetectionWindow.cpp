// SPDX-License-Identifier: GPL-2.0-or-later
// Automatic tempo detection through the main window's real widgets, over in-memory engines.
#include "app/Startup.h"
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "common/ProcessEnd.h"
#include "detect/DetectionEngines.h"
#include "detect/frmAutoBPMConfig.h"
#include "detect/LevelMeter.h"
#include "platform/SkinLabel.h"
#include "../detect/FakeBeatDetector.h"
#include "FakeAudioInputEngine.h"
#include "FakeClock.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
const QString unavailableText = "Audio input BPM detection is not available as the DLL files that are "
                                "necessary to support this function are not installed.";

struct Window {
    explicit Window(bool detectionDisabled = false, QStringList devices = {"Monitor of Null Output", "Line In"})
    {
        settings() = ProgramSettings{};
        settings().PlayBeatSound = false;
        setDetectionEngineFactories(
            [this, devices] {
                auto engine = std::make_unique<FakeAudioInputEngine>();
                engine->driverNames = devices;
                input = engine.get();
                return engine;
            },
            [this] {
                auto beats = std::make_unique<FakeBeatDetector>();
                detector = beats.get();
                return beats;
            });
        if (detectionDisabled)
            window.detection().disable();
        window.Form_Load();
    }
    ~Window() { setDetectionEngineFactories({}, {}); }

    template <typename T>
    T *find(const QString &name) { return window.findChild<T *>(name); }
    QString label(const char *name) { return find<SkinLabel>(name)->text(); }
    QTabBar *tabs() { return find<QTabBar>("tabTempoSource"); }
    LevelMeter *meter(int i) { return find<LevelMeter>(QString("picAudioMeter_%1").arg(i)); }
    int blocksRead() const { return int(input->calls.filter("readFrames").size()); }

    // Shows the detection tab and starts sampling the selected device.
    void startSampling()
    {
        tabs()->setCurrentIndex(1);
        find<QPushButton>("cmdStartAudIn")->click();
    }
    // One block of constant samples, taken in by the capture loop before this returns.
    void block(quint32 frames, qint16 left, qint16 right = 0)
    {
        const int before = blocksRead();
        input->recordFrames(frames, left, right);
        QTRY_COMPARE_WITH_TIMEOUT(blocksRead(), before + 1, 2000);
    }
    void silentBlocks(int count)
    {
        for (int i = 0; i < count; ++i)
            block(64, 0);
    }

    TestEnvironment env;
    MessageRecorder messages;
    FakeClock fakeClock;
    FakeAudioInputEngine *input = nullptr;
    FakeBeatDetector *detector = nullptr;
    frmMetronome window;
};
} // namespace

class DetectionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theDetectionTabOpensTheEngineOnce()
    {
        Window w;
        QVERIFY(!w.find<QPushButton>("cmdStopAudIn")->isEnabled());
        QVERIFY(!w.input);
        w.tabs()->setCurrentIndex(1);
        QVERIFY(w.input);
        auto *list = w.find<QListWidget>("lstAudioHardware");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QString("0 - Monitor of Null Output"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->toolTip(), QString("Using audio device '0 - Monitor of Null Output'"));
        QVERIFY(!w.find<QFrame>("fraAudioTempo")->isHidden());
        QVERIFY(w.find<QFrame>("fraManualTempo")->isHidden());
        QVERIFY(w.window.detection().systemHandle() > 0);
        w.tabs()->setCurrentIndex(0);
        QVERIFY(w.find<QFrame>("fraAudioTempo")->isHidden());
        w.tabs()->setCurrentIndex(1);
        QCOMPARE(w.input->calls.count("createSystem"), 1);
        QCOMPARE(w.messages.count(), 0);
    }

    void withoutDevicesTheListSaysSo()
    {
        Window w(false, {});
        w.tabs()->setCurrentIndex(1);
        auto *list = w.find<QListWidget>("lstAudioHardware");
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->toolTip(), QString("There are no audio devices detected for your computer"));
    }

    void disabledDetectionRefusesTheTabAfterLoadOnly()
    {
        Window w(true);
        // The load selected the manual tab without a word.
        QCOMPARE(w.messages.count(), 0);
        w.tabs()->setCurrentIndex(1);
        QCOMPARE(w.messages.count(), 1);
        QCOMPARE(w.messages.last().title, QString("Audio BPM Detection Unavailable"));
        QCOMPARE(w.messages.last().text, unavailableText);
        QCOMPARE(w.messages.last().icon, MessageIcon::Information);
        QCOMPARE(w.tabs()->currentIndex(), 0);
        QVERIFY(!w.find<QFrame>("fraManualTempo")->isHidden());
        QVERIFY(w.find<QFrame>("fraAudioTempo")->isHidden());
        QVERIFY(!w.input);
    }

    void aModuleThatDoesNotLoadDisablesDetection()
    {
        Window w;
        // The real engines, over files that are no modules.
        setDetectionEngineFactories({}, {});
        for (const char *name : {"fmodex.dll", "bpmDetect.dll"}) {
            QFile file(w.env.programFolder() + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a library");
        }
        w.tabs()->setCurrentIndex(1);
        auto *list = w.find<QListWidget>("lstAudioHardware");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Could not initialize Audio Engine"));
        QVERIFY(!w.find<QFrame>("fraAudioTempo")->isEnabled());
        QVERIFY(!w.find<QRadioButton>("optChannel_3")->isEnabled());
        QVERIFY(w.window.detection().isUnavailable());
        QVERIFY(!w.find<QFrame>("fraAudioTempo")->isHidden());
        QCOMPARE(w.messages.count(), 0);
        w.tabs()->setCurrentIndex(0);
        w.tabs()->setCurrentIndex(1);
        QCOMPARE(w.messages.count(), 1);
        QCOMPARE(w.messages.last().title, QString("Audio BPM Detection Unavailable"));
        QCOMPARE(w.tabs()->currentIndex(), 0);
    }

    void samplingShowsTheDetectorAndBothChannelsLevels()
    {
        Window w;
        w.tabs()->setCurrentIndex(1);
        w.find<QListWidget>("lstAudioHardware")->setCurrentRow(1);
        w.find<QPushButton>("cmdStartAudIn")->click();
        QVERIFY(w.input->calls.contains("setRecordDriver 1"));
        QVERIFY(!w.find<QPushButton>("cmdStartAudIn")->isEnabled());
        QVERIFY(w.find<QPushButton>("cmdStopAudIn")->isEnabled());
        QCOMPARE(w.label("sknlblBPM"), QString("Detecting BPM..."));
        QVERIFY(w.find<QTimer>("oAudioInTimer")->isActive());
        QVERIFY(w.window.detection().isSampling());

        w.block(441, 16384, 32767);
        QCOMPARE(w.meter(0)->level(), 16384 / 32767.0);
        QCOMPARE(w.meter(1)->level(), 1.0);
        QCOMPARE(w.meter(0)->barColor(), QColor(255, 0, 0));
        QCOMPARE(w.detector->samples.size(), std::size_t(441));

        w.detector->values = {127.456f, 10.2f, 1.0f};
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblBPM"), QString("127.46 BPM"));
        QCOMPARE(w.label("sknlblAccuracy"), QString("31% Accuracy"));
        QCOMPARE(w.label("skinlblPeakVU"), QString("50.0% Peak VU"));
        QVERIFY(w.find<QLineEdit>("txtAudioBPMBeat")->styleSheet().contains("#ff0000"));
        w.window.oAudioInTimer_Timer();
        QVERIFY(w.find<QLineEdit>("txtAudioBPMBeat")->styleSheet().contains("#ffffff"));
    }

    void stopResetsTheLabelsAndTheRunEnds()
    {
        Window w;
        w.startSampling();
        w.block(441, 20000);
        w.detector->values = {120.0f, 20.0f, 3.0f};
        w.window.oAudioInTimer_Timer();
        w.find<QPushButton>("cmdStopAudIn")->click();
        QCOMPARE(w.label("sknlblBPM"), QString("000.00 BPM"));
        QCOMPARE(w.label("sknlblAccuracy"), QString("0%"));
        QCOMPARE(w.label("skinlblPeakVU"), QString("0.0% Peak VU"));
        QVERIFY(!w.find<QTimer>("oAudioInTimer")->isActive());
        QTRY_VERIFY(w.find<QPushButton>("cmdStartAudIn")->isEnabled());
        QVERIFY(!w.find<QPushButton>("cmdStopAudIn")->isEnabled());
        QVERIFY(!w.input->recording());
        QVERIFY(w.detector->live.isEmpty());
        QVERIFY(!w.window.detection().isSampling());
        QCOMPARE(w.meter(0)->level(), 0.0);
        // A second run gets a sound and detector of its own.
        w.find<QPushButton>("cmdStartAudIn")->click();
        QCOMPARE(w.detector->created, 2);
    }

    void silenceTimesOutAfterTheConfiguredSeconds_data()
    {
        QTest::addColumn<int>("timeout");
        QTest::addColumn<bool>("stopsAfterSevenSeconds");
        QTest::newRow("default 6") << 6 << true;
        QTest::newRow("no timeout") << 32767 << false;
    }
    void silenceTimesOutAfterTheConfiguredSeconds()
    {
        QFETCH(int, timeout);
        QFETCH(bool, stopsAfterSevenSeconds);
        Window w;
        settings().AutoBPMInputTimeout = int16_t(timeout);
        w.startSampling();
        w.block(441, 20000);
        w.detector->values = {120.0f, 20.0f, 3.0f};
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblBPM"), QString("120.00 BPM"));
        w.silentBlocks(51);
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblBPM"), QString("Detecting BPM..."));
        QCOMPARE(w.label("sknlblAccuracy"), QString("0%"));
        QCOMPARE(w.label("skinlblPeakVU"), QString("0.0% Peak VU"));
        w.fakeClock.advanceMs(6000);
        w.window.oAudioInTimer_Timer();
        QVERIFY(w.find<QPushButton>("cmdStopAudIn")->isEnabled());
        w.fakeClock.advanceMs(1000);
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.window.detection().isSampling(), !stopsAfterSevenSeconds);
        if (stopsAfterSevenSeconds) {
            QCOMPARE(w.label("sknlblBPM"), QString("000.00 BPM"));
            QTRY_VERIFY(w.find<QPushButton>("cmdStartAudIn")->isEnabled());
        }
    }

    void soundAfterSilenceShowsTheValuesAgain()
    {
        Window w;
        w.startSampling();
        w.block(441, 20000);
        w.detector->values = {120.0f, 20.0f, 3.0f};
        w.window.oAudioInTimer_Timer();
        w.silentBlocks(51);
        w.window.oAudioInTimer_Timer();
        w.block(441, 10000);
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblBPM"), QString("120.00 BPM"));
        QCOMPARE(w.label("sknlblAccuracy"), QString("60% Accuracy"));
        QCOMPARE(w.label("skinlblPeakVU"), QString("61.0% Peak VU"));
    }

    void anInputThatNeverSoundedRunsOn()
    {
        Window w;
        w.startSampling();
        w.silentBlocks(60);
        w.fakeClock.advanceMs(60000);
        w.window.oAudioInTimer_Timer();
        QVERIFY(w.window.detection().isSampling());
        QCOMPARE(w.label("sknlblBPM"), QString("Detecting BPM..."));
    }

    void useBpmBeforeAnyDetectionDoesNothing()
    {
        Window w;
        w.tabs()->setCurrentIndex(1);
        w.find<QPushButton>("cmdSetAudioInTempo")->click();
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString());
        // Sampling, but the detector has no tempo yet.
        w.find<QPushButton>("cmdStartAudIn")->click();
        w.block(441, 20000);
        w.window.oAudioInTimer_Timer();
        w.find<QPushButton>("cmdSetAudioInTempo")->click();
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString());
        QCOMPARE(w.window.channels().intervalMs(1), 0);
        w.detector->values[0] = 127.5f;
        w.window.oAudioInTimer_Timer();
        w.find<QPushButton>("cmdSetAudioInTempo")->click();
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString("127.50"));
    }

    void holdWithChannelTwoFollowsEachNewTempo()
    {
        Window w;
        w.find<QRadioButton>("optChannel_2")->click();
        w.window.StartMetronome(500, false, 1);
        w.startSampling();
        w.block(441, 20000);
        w.detector->values = {127.5f, 10.0f, 1.0f};
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString("120"));
        w.find<QCheckBox>("chkHoldAudioBPM")->click();
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString("127.50"));
        w.detector->values[0] = 126.4f;
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString("126.40"));
        QCOMPARE(w.window.channels().intervalMs(2), 475);
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString());
        // The running metronome keeps its period until Start / Sync.
        QCOMPARE(w.window.beatTimerInterval(), 500);
    }

    void twoDecksFeedTwoDetectorsAndHoldFillsBothChannels()
    {
        Window w;
        w.find<QRadioButton>("optChannel_3")->click();
        w.find<QCheckBox>("chkHoldAudioBPM")->click();
        w.startSampling();
        QCOMPARE(w.detector->live.size(), 2);
        QVERIFY(w.find<SkinLabel>("sknlblBPM_2")->isVisibleTo(&w.window));
        w.detector->valuesOf[1] = {124.0f, 10.0f, 1.0f};
        w.detector->valuesOf[2] = {131.0f, 9.0f, 1.0f};
        w.block(4410, 20000, -3000);
        QCOMPARE(w.detector->samplesOf[1].front(), 20000.0f);
        QCOMPARE(w.detector->samplesOf[2].front(), -3000.0f);
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblBPM"), QString("124.00 BPM"));
        QCOMPARE(w.label("sknlblBPM_2"), QString("131.00 BPM"));
        QCOMPARE(w.label("sknlblAccuracy_2"), QString("27% Accuracy"));
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString("124"));
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString("131"));
        QCOMPARE(w.label("skinlblPercentDifference"), QString("Channel 1 is 5.34% SLOWER than Channel 2"));
        QCOMPARE(w.label("sknlblAudioDecks"), QString("Two decks: L sets Channel 1, R sets Channel 2"));
    }

    void oneSignalOnBothSidesIsOneDeck()
    {
        Window w;
        w.find<QRadioButton>("optChannel_3")->click();
        w.startSampling();
        w.detector->values = {124.0f, 10.0f, 1.0f};
        w.block(4410, 12000, 12000);
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblAudioDecks"), QString("L and R carry the same signal (mono): one deck only"));
        QCOMPARE(w.label("sknlblBPM_2"), QString("000.00 BPM"));
        w.find<QPushButton>("cmdSetAudioInTempo")->click();
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString("124"));
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString());
    }

    void theOptionAndTheSourceChangedWhileSamplingStartAgainAtOnce()
    {
        Window w;
        w.startSampling();
        QCOMPARE(w.detector->live.size(), 1);
        w.find<QRadioButton>("optChannel_3")->click();
        QCOMPARE(w.detector->live.size(), 2);
        w.detector->values = {127.0f, 10.0f, 1.0f};
        w.block(441, 20000, 100);
        w.window.oAudioInTimer_Timer();
        QCOMPARE(w.label("sknlblBPM"), QString("127.00 BPM"));
        w.find<QListWidget>("lstAudioHardware")->setCurrentRow(1);
        QVERIFY(w.input->calls.contains("setRecordDriver 1"));
        QVERIFY(w.window.detection().isSampling());
        QCOMPARE(w.label("sknlblBPM"), QString("Detecting BPM..."));
        QCOMPARE(w.label("sknlblBPM_2"), QString("Detecting BPM..."));
        QCOMPARE(w.detector->live.size(), 2);
    }

    void aFailureWhileSamplingIsReportedAndTheRunEnds()
    {
        Window w;
        w.startSampling();
        w.block(441, 20000);
        w.input->loseDevice();
        QTRY_COMPARE(w.messages.count(), 1);
        QCOMPARE(w.messages.last().title, QString("Error Generating BPM"));
        QCOMPARE(w.messages.last().text,
                 QString("An error occurred while sampling the input audio stream to generate an automatic BPM "
                         "value: \nError Description: recordPosition failed"));
        QCOMPARE(w.messages.last().icon, MessageIcon::Warning);
        QVERIFY(w.find<QPushButton>("cmdStartAudIn")->isEnabled());
        QVERIFY(!w.find<QTimer>("oAudioInTimer")->isActive());
        QVERIFY(w.detector->live.isEmpty());
    }

    void ctrlDOpensTheDetectionDialog()
    {
        Window w;
        auto *action = w.find<QAction>("mnuOptions_AutoBPMConfig");
        QCOMPARE(action->shortcut(), QKeySequence("Ctrl+D"));
        action->trigger();
        QVERIFY(existingAutoBPMConfig());
        QVERIFY(existingAutoBPMConfig()->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        programState().bShuttingDown = true;
        closeAutoBPMConfigForShutdown();
        programState().bShuttingDown = false;
        QVERIFY(!existingAutoBPMConfig());
    }

    void closingWhileSamplingReleasesTheAudioSystem()
    {
        resetStartupForTests();
        QList<int> exits;
        setProcessEnder([&](int code) { exits << code; });
        {
            Window w;
            w.startSampling();
            w.block(441, 20000);
            w.window.close();
            QCOMPARE(exits, QList<int>{0});
            QVERIFY(w.input->calls.contains("closeSystem"));
            QVERIFY(w.input->calls.indexOf("releaseSound") < w.input->calls.indexOf("closeSystem"));
            QVERIFY(w.detector->live.isEmpty());
            QCOMPARE(w.window.detection().systemHandle(), 0);
        }
        setProcessEnder({});
        resetStartupForTests();
    }
};

QTEST_MAIN(DetectionWindowTest)
#include "test_DetectionWindow.moc"
