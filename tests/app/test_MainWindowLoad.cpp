// SPDX-License-Identifier: GPL-2.0-or-later
// The main window as it opens: every control named, captioned and in its starting state.
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "metronome/BeatIndicator.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

class MainWindowLoadTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlIsNamed()
    {
        TestEnvironment env;
        frmMetronome window;
        const QStringList names{
            "fraSelectTempo", "fraManualTempo", "fraAudioTempo", "sknlblTapStats", "cmdTempoTap", "cmdDivided2",
            "cmdTimes2", "cmdUseManualTempo", "txtManualTempo", "cmdPlusSldrBPM", "cmdMinusSldrBPM", "sldrBPM",
            "txtAudioBPMBeat", "chkHoldAudioBPM", "cmdSetAudioInTempo", "oAudioInTimer", "cmdStopAudIn",
            "cmdStartAudIn", "lstAudioHardware", "picAudioMeter_0", "picAudioMeter_1", "sknlblBPM", "sknlblAccuracy",
            "skinlblPeakVU", "tabTempoSource", "optChannel_1", "optChannel_2", "optChannel_3", "cmdStartMetronome",
            "cmdStopMetronome", "cmdNudgeFaster", "cmdNudgeSlower", "txtNudgeMS", "chkAllowNudgeCalc", "txtBPM_1",
            "txtBPM_2", "txtBeatColor", "skinlblPercentDifference", "cmdDummyTabStop", "picDivider_0",
            "picDivider_1", "picDivider_2", "picDivider_3", "oBeatTimer", "mnu_Skin", "mnuFile_Exit",
            "mnuTools_HarmonicMixing", "mnuOptions_TimeSignitures", "mnuOptions_AutoBPMConfig",
            "mnuOptions_PlayBeatSound", "mnuOptions_Undock", "mnuOptions_AlwaysOnTop", "mnuHelp_Help",
            "mnuHelp_CheckProgUpdates", "mnuHelp_Divider0", "mnuHelp_Website", "mnuHelp_Divider1", "mnuHelp_About",
            "mnuOptions_AbletonLink", "mnuOptions_MidiClockOut", "sknlblLinkStatus"};
        for (const QString &name : names)
            QVERIFY2(window.findChild<QObject *>(name), qPrintable(name));
        for (int id = 101; id <= 113; ++id)
            QVERIFY(window.findChild<QAction *>(QString("mnuSkin_SelectedSkin_%1").arg(id)));
        QCOMPARE(window.objectName(), QString("frmMetronome"));
    }

    void captionsAndToolTips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("tap") << "cmdTempoTap" << "Tempo Tap" << "";
        QTest::newRow("halve") << "cmdDivided2" << "/ 2" << "Divide the tempo value by 2 (Half Time)";
        QTest::newRow("double") << "cmdTimes2" << "* 2" << "Multiply the tempo value by 2 (Double Time)";
        QTest::newRow("use") << "cmdUseManualTempo" << "Use" << "";
        QTest::newRow("plus") << "cmdPlusSldrBPM" << "\u2192" << "Increment the current BPM by 1 (Syncs metronome with beat 1)";
        QTest::newRow("minus") << "cmdMinusSldrBPM" << "\u2190" << "Decrement the current BPM by 1 (Syncs metronome with beat 1)";
        QTest::newRow("faster") << "cmdNudgeFaster" << "\u2191" << "Nudge the metronome slightly ahead  (won't change tempo)";
        QTest::newRow("slower") << "cmdNudgeSlower" << "\u2193" << "Nudge the metronome slightly behind  (won't change tempo)";
        QTest::newRow("use bpm") << "cmdSetAudioInTempo" << "Use BPM" << "Immediately use the detected BPM value for the selected channel";
        QTest::newRow("stop sampling") << "cmdStopAudIn" << "Stop Sampling" << "Stop sampling audio input for automatic tempo detection";
        QTest::newRow("start sampling") << "cmdStartAudIn" << "Start Sampling" << "Start automatic tempo detection, once an audio input is available";
        QTest::newRow("start") << "cmdStartMetronome" << "Start / Sync" << "Start the metronome if it's stopped, or syncronize it with beat 1 if it is active";
        QTest::newRow("stop") << "cmdStopMetronome" << "Stop" << "Stop the metronome (will not clear settings)";
        QTest::newRow("dummy") << "cmdDummyTabStop" << "Dummy Tab Stop" << "";
        QTest::newRow("hold") << "chkHoldAudioBPM" << "Hold" << "Constantly monitor and use the sampled BPM for the currently selected Channel";
        QTest::newRow("calculate") << "chkAllowNudgeCalc" << "Calculate" << "Allow dynamic nudge millisecond time calculation based on BPM";
        QTest::newRow("channel 1") << "optChannel_1" << "Channel 1" << "Set the tempo for Channel 1";
        QTest::newRow("channel 2") << "optChannel_2" << "Channel 2" << "Set the tempo for Channel 2";
        QTest::newRow("channel 3") << "optChannel_3" << "L audio uses chan 1  R audio uses chan 2"
                                   << "Audio input Left & Right signals will be used for Channel 1 & Channel 2 respectively";
        QTest::newRow("bpm label") << "sknlblBPM" << "000.00 BPM" << "Beats Per Minute detected for the input audio stream";
        QTest::newRow("accuracy") << "sknlblAccuracy" << "0% Accuracy" << "BPM calculation accuracy";
        QTest::newRow("peak") << "skinlblPeakVU" << "0.0% Peak VU" << "BPM calculation accuracy";
        QTest::newRow("beat light") << "txtAudioBPMBeat" << "Beat" << "Color change indicates a detected beat";
        QTest::newRow("manual box") << "txtManualTempo" << "" << "Enter a BPM value between 30 and 250";
        QTest::newRow("nudge box") << "txtNudgeMS" << "70" << "Enter a numeric 'Nudge By' time between 20 and 300 milliseconds";
        QTest::newRow("channel box 1") << "txtBPM_1" << "" << "Current BPM value for Channel 1";
        QTest::newRow("channel box 2") << "txtBPM_2" << "" << "Current BPM value for Channel 2";
        QTest::newRow("comparison") << "skinlblPercentDifference" << "Enter a tempo for Channels 1 & 2" << "";
        QTest::newRow("tap stats") << "sknlblTapStats" << "" << "";
    }
    void captionsAndToolTips()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        TestEnvironment env;
        settings() = ProgramSettings{};
        frmMetronome window;
        window.Form_Load();
        QWidget *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        QString text;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            text = button->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            text = edit->text();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            text = label->text();
        QCOMPARE(text, caption);
        QCOMPARE(widget->toolTip(), toolTip);
    }

    void menusTabsAndTitle()
    {
        TestEnvironment env;
        settings() = ProgramSettings{};
        frmMetronome window;
        window.Form_Load();
        QCOMPARE(window.windowTitle(), QString("Pulsivar v5.0"));
        const auto action = [&](const char *name) { return window.findChild<QAction *>(name); };
        QCOMPARE(action("mnuFile_Exit")->text(), QString("&Exit"));
        QCOMPARE(action("mnuTools_HarmonicMixing")->shortcut(), QKeySequence("Ctrl+H"));
        QCOMPARE(action("mnuOptions_TimeSignitures")->text(), QString("&Measure configuration..."));
        QCOMPARE(action("mnuOptions_TimeSignitures")->shortcut(), QKeySequence("Ctrl+M"));
        QCOMPARE(action("mnuOptions_AutoBPMConfig")->text(), QString("&Auto BPM detection configuration..."));
        QCOMPARE(action("mnuOptions_AutoBPMConfig")->shortcut(), QKeySequence("Ctrl+D"));
        QCOMPARE(action("mnuOptions_PlayBeatSound")->text(), QString("&Play beat sound"));
        QCOMPARE(action("mnuOptions_PlayBeatSound")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(action("mnuOptions_Undock")->text(), QString("&Undock tempo display"));
        QCOMPARE(action("mnuOptions_Undock")->shortcut(), QKeySequence("Ctrl+U"));
        QCOMPARE(action("mnuOptions_AlwaysOnTop")->text(), QString("&Always on top"));
        QCOMPARE(action("mnuOptions_AlwaysOnTop")->shortcut(), QKeySequence("Ctrl+T"));
        QCOMPARE(action("mnuOptions_AbletonLink")->text(), QString("Ableton &Link"));
        QVERIFY(action("mnuOptions_AbletonLink")->isCheckable());
        QCOMPARE(window.findChild<QMenu *>("mnuOptions_MidiClockOut")->title(), QString("MIDI clock out"));
        QCOMPARE(action("mnuHelp_Help")->text(), QString("Pulsivar Help"));
        QCOMPARE(action("mnuHelp_Help")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(action("mnuHelp_CheckProgUpdates")->text(), QString("Check Internet for program &updates"));
        QCOMPARE(action("mnuHelp_Website")->text(), QString("http://www.example.com"));
        QCOMPARE(action("mnuHelp_About")->text(), QString("About Pulsivar"));
        QCOMPARE(window.findChild<QMenu *>("mnu_Skin")->title(), QString("Pulsivar window skin"));
        const QStringList skins{"B-Studio", "Chizh", "Galaxy", "Geek-Superhero", "Green", "Max", "Media",
                                "Metallic", "Paper", "Top Secret", "Web II", "Win Aqua", "Zhelezo"};
        for (int id = 101; id <= 113; ++id)
            QCOMPARE(action(qPrintable(QString("mnuSkin_SelectedSkin_%1").arg(id)))->text(), skins[id - 101]);
        auto *tabs = window.findChild<QTabBar *>("tabTempoSource");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QString("Manual tempo input"));
        QCOMPARE(tabs->tabText(1), QString("Automatic tempo detection"));
        QCOMPARE(tabs->tabToolTip(0), QString("Manually tap or enter a BPM value"));
        QCOMPARE(tabs->tabToolTip(1), QString("Use the computer's \"Stereo Mix\" audio input to determine a BPM value"));
        QCOMPARE(window.findChild<QGroupBox *>("fraSelectTempo")->title(), QString("Tempo Controls"));
    }

    void startingState()
    {
        TestEnvironment env;
        settings() = ProgramSettings{};
        settings().PlayBeatSound = false;
        settings().MSNUDGEVALUE = 150;
        frmMetronome window;
        window.Form_Load();
        QVERIFY(!window.findChild<QAction *>("mnuOptions_PlayBeatSound")->isChecked());
        QCOMPARE(window.findChild<QLineEdit *>("txtNudgeMS")->text(), QString("150"));
        QVERIFY(window.findChild<QRadioButton *>("optChannel_1")->isChecked());
        QVERIFY(!window.isMetronomeRunning());
        QCOMPARE(window.findChild<BeatIndicator *>("txtBeatColor")->beatColor(), QColor(Qt::white));
        QCOMPARE(window.channels().intervalMs(1), 0);
        QCOMPARE(window.channels().intervalMs(2), 0);
        QCOMPARE(window.findChild<QTabBar *>("tabTempoSource")->currentIndex(), 0);
        QVERIFY(!window.findChild<QFrame *>("fraManualTempo")->isHidden());
        QVERIFY(window.findChild<QFrame *>("fraAudioTempo")->isHidden());
        QVERIFY(!window.detection().isSampling());
        QVERIFY(!window.mbFormLoading);
        auto *slider = window.findChild<QSlider *>("sldrBPM");
        QCOMPARE(slider->minimum(), 30);
        QCOMPARE(slider->maximum(), 250);
        QCOMPARE(window.findChild<QTimer *>("oAudioInTimer")->interval(), 200);
        // Link and MIDI clock off: no session, no port, the label empty; the menu offers the port
        // of its own ("Off" checked).
        QVERIFY(window.link() == nullptr);
        QVERIFY(!window.midiClock().isOpen());
        QCOMPARE(window.findChild<QLabel *>("sknlblLinkStatus")->text(), QString());
        window.listMidiClockPorts();
        QVERIFY(window.findChild<QAction *>("mnuMidiClockOut_Off")->isChecked());
        QCOMPARE(window.findChild<QAction *>("mnuMidiClockOut_1")->text(), QString("Pulsivar clock"));

        settings().PlayBeatSound = true;
        frmMetronome second;
        second.Form_Load();
        QVERIFY(second.findChild<QAction *>("mnuOptions_PlayBeatSound")->isChecked());
    }

    void channelOptionsFormOneGroup()
    {
        TestEnvironment env;
        frmMetronome window;
        window.Form_Load();
        window.findChild<QRadioButton *>("optChannel_3")->click();
        QCOMPARE(window.selectedChannel(), 3);
        QVERIFY(!window.findChild<QRadioButton *>("optChannel_1")->isChecked());
    }
};

QTEST_MAIN(MainWindowLoadTest)
#include "test_MainWindowLoad.moc"
