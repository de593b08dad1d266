// SPDX-License-Identifier: GPL-2.0-or-later
// Every manual way of setting a tempo, through the main window's real widgets.
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "metronome/BeatIndicator.h"
#include "FakeClock.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
struct Window {
    Window()
    {
        settings() = ProgramSettings{};
        settings().PlayBeatSound = false;
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    template <typename T = QWidget>
    T *find(const QString &name) { return window.findChild<T *>(name); }
    QString box(int channel) { return find<QLineEdit>(QString("txtBPM_%1").arg(channel))->text(); }
    QString comparison() { return find<QLabel>("skinlblPercentDifference")->text(); }
    int period() { return window.beatTimerInterval(); }
    void click(const QString &name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    void tapAt(double ms)
    {
        fakeClock.seconds = 5000.0 + ms / 1000.0;
        click("cmdTempoTap");
    }
    void type(const QString &name, const QString &keys)
    {
        auto *edit = find<QLineEdit>(name);
        edit->setFocus();
        QTest::keyClicks(edit, keys);
    }

    TestEnvironment env;
    FakeClock fakeClock;
    MessageRecorder messages;
    frmMetronome window;
};
} // namespace

class TempoEntryTest : public QObject {
    Q_OBJECT
private slots:
    void comparisonFollowsBothChannels()
    {
        Window w;
        QCOMPARE(w.comparison(), QString("Enter a tempo for Channels 1 & 2"));
        w.window.StartMetronome(500, false, 1);
        QCOMPARE(w.comparison(), QString("Enter a tempo for Channel 2"));
        w.click("optChannel_2");
        QVERIFY(!w.window.isMetronomeRunning());
        w.window.startAtTempo(130, 1);
        QCOMPARE(w.box(2), QString("130"));
        QCOMPARE(w.comparison(), QString("Channel 1 is 7.69% SLOWER than Channel 2"));
    }

    void channelBoxHoldingZeroIsEmptied()
    {
        Window w;
        w.find<QLineEdit>("txtBPM_1")->setText(" 0 ");
        w.window.UpdatePercentDifference();
        QCOMPARE(w.box(1), QString());
        QCOMPARE(w.comparison(), QString("Enter a tempo for Channels 1 & 2"));
    }

    void switchingChannelsRestartsOrStops()
    {
        Window w;
        w.window.StartMetronome(500, false, 1);
        w.click("optChannel_2");
        QVERIFY(!w.window.isMetronomeRunning());
        w.window.StartMetronome(600, false, 1);
        w.window.oBeatTimer_Timer();
        w.window.oBeatTimer_Timer();
        w.click("optChannel_1");
        QVERIFY(w.window.isMetronomeRunning());
        QCOMPARE(w.period(), 500);
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.find<BeatIndicator>("txtBeatColor")->text(), QString("1"));
        w.find<QRadioButton>("optChannel_3")->setChecked(true);
        w.window.optChannel_Click(3);
        QVERIFY(!w.window.isMetronomeRunning());
        QCOMPARE(w.box(1), QString("120"));
        QCOMPARE(w.box(2), QString("100"));
    }

    void switchingOnTheDetectionTabReleasesHold()
    {
        Window w;
        auto *hold = w.find<QCheckBox>("chkHoldAudioBPM");
        hold->setChecked(true);
        w.click("optChannel_2");
        QVERIFY(hold->isChecked());
        w.find<QTabBar>("tabTempoSource")->setCurrentIndex(1);
        w.click("optChannel_1");
        QVERIFY(!hold->isChecked());
    }

    void detectedTempoGoesToTheSelectedChannelWithoutRestart()
    {
        Window w;
        QString text = "127.5";
        w.window.ApplyDetectedBPM(text);
        QCOMPARE(w.box(1), QString());  // manual tab: nothing
        w.find<QTabBar>("tabTempoSource")->setCurrentIndex(1);
        w.window.ApplyDetectedBPM(text);
        // The detected tempo as it is: rounded to 128 it would drift against the music.
        QCOMPARE(w.box(1), QString("127.50"));
        QCOMPARE(w.window.channels().tempo(1), 127.5);
        QCOMPARE(w.window.channels().intervalMs(1), 471);
        QVERIFY(!w.window.isMetronomeRunning());
        QCOMPARE(w.find<QLineEdit>("txtNudgeMS")->text(), QString("78"));
        text = "126.5";
        w.click("optChannel_2");
        w.window.ApplyDetectedBPM(text);
        QCOMPARE(w.box(2), QString("126.50"));
        QCOMPARE(w.comparison(), QString("Channel 1 is .78% FASTER than Channel 2"));
        // Selected directly: the option is disabled while no audio engine could start.
        w.find<QRadioButton>("optChannel_3")->setChecked(true);
        text = "90";
        w.window.ApplyDetectedBPM(text);
        QCOMPARE(w.box(2), QString("126.50"));
        text = "fast";
        w.click("optChannel_1");
        w.window.ApplyDetectedBPM(text);
        QCOMPARE(w.box(1), QString("127.50"));
    }

    void tapsGiveTheAveragedTempo()
    {
        Window w;
        auto *stats = w.find<QLabel>("sknlblTapStats");
        w.tapAt(0);
        QCOMPARE(stats->text(), QString("Tempo tap samples averaged: 1"));
        QVERIFY(!w.window.isMetronomeRunning());
        w.tapAt(500);
        QCOMPARE(w.period(), 500);
        QCOMPARE(w.box(1), QString("120"));
        QCOMPARE(stats->text(), QString("Tempo tap samples averaged: 2"));
        // Intervals of 500, 520 and 480 ms: exactly 120 again.
        w.tapAt(1020);
        QCOMPARE(w.box(1), QString("117.65"));
        w.tapAt(1500);
        QCOMPARE(w.box(1), QString("120"));
        QCOMPARE(w.window.beatGrid().periodSeconds(), 0.5);
        QCOMPARE(stats->text(), QString("Tempo tap samples averaged: 4"));
    }

    void tapLimits_data()
    {
        QTest::addColumn<double>("gap");
        QTest::addColumn<QString>("bpm");
        QTest::newRow("faster than 240 ms") << 200.0 << "250";
        QTest::newRow("more than 2000 ms") << 2100.0 << "30";
    }
    void tapLimits()
    {
        QFETCH(double, gap);
        QFETCH(QString, bpm);
        Window w;
        w.tapAt(0);
        w.tapAt(gap);
        QCOMPARE(w.box(1), bpm);
    }

    void onlyDeliberateKeysAreTaps_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<bool>("taps");
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << false << true;
        QTest::newRow("capital") << int(Qt::Key_A) << int(Qt::ShiftModifier) << "A" << false << true;
        QTest::newRow("digit") << int(Qt::Key_1) << 0 << "1" << false << true;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << " " << false << true;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << "\r" << false << true;
        QTest::newRow("shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << "" << false << false;
        QTest::newRow("ctrl alone") << int(Qt::Key_Control) << int(Qt::ControlModifier) << "" << false << false;
        QTest::newRow("shortcut") << int(Qt::Key_D) << int(Qt::ControlModifier) << "\x04" << false << false;
        QTest::newRow("alt letter") << int(Qt::Key_F) << int(Qt::AltModifier) << "f" << false << false;
        QTest::newRow("function key") << int(Qt::Key_F9) << 0 << "" << false << false;
        QTest::newRow("arrow") << int(Qt::Key_Left) << 0 << "" << false << false;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "\x1b" << false << false;
        QTest::newRow("held letter") << int(Qt::Key_A) << 0 << "a" << true << false;
    }
    void onlyDeliberateKeysAreTaps()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(bool, autoRepeat);
        QFETCH(bool, taps);
        Window w;
        for (double at : {100.0, 100.5}) {
            w.fakeClock.seconds = at;
            QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text, autoRepeat);
            QApplication::sendEvent(&w.window, &press);
        }
        QCOMPARE(w.box(1), taps ? QString("120") : QString());
    }

    void tapsAreTimedWhenTheyWereMade()
    {
        Window w;
        // The real clock: both presses are handled now, but were made 500 ms apart.
        setClock(nullptr);
        const ulong stamp = 7000000;
        for (ulong at : {stamp, stamp + 500}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"));
            press.setTimestamp(at);
            QApplication::sendEvent(&w.window, &press);
        }
        QCOMPARE(w.box(1), QString("120"));
    }

    void oneKeyOnTheTapButtonIsOneTap_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("space") << int(Qt::Key_Space);
        QTest::newRow("enter") << int(Qt::Key_Return);
    }
    void oneKeyOnTheTapButtonIsOneTap()
    {
        QFETCH(int, key);
        Window w;
        auto *tap = w.find<QPushButton>("cmdTempoTap");
        tap->setFocus();
        QTest::keyClick(tap, Qt::Key(key));
        QCOMPARE(w.find<QLabel>("sknlblTapStats")->text(), QString("Tempo tap samples averaged: 1"));
        w.fakeClock.advanceMs(500);
        QTest::keyClick(tap, Qt::Key(key));
        QCOMPARE(w.find<QLabel>("sknlblTapStats")->text(), QString("Tempo tap samples averaged: 2"));
        QCOMPARE(w.window.channels().taps.miIntervalHistoryIndex, int16_t(0));
    }

    void typingIsNotTapping()
    {
        Window w;
        w.type("txtManualTempo", "12");
        w.type("txtNudgeMS", "5");
        QCOMPARE(w.find<QLabel>("sknlblTapStats")->text(), QString());
        QCOMPARE(w.messages.count(), 0);
    }

    void typingStopsAtThreeCharacters()
    {
        Window w;
        w.type("txtManualTempo", "1234");
        QCOMPARE(w.find<QLineEdit>("txtManualTempo")->text(), QString("123"));
        QCOMPARE(w.messages.count(), 0);
    }

    void typedTempoAppliesOnEnter()
    {
        Window w;
        w.type("txtManualTempo", "128");
        QTest::keyClick(w.find<QLineEdit>("txtManualTempo"), Qt::Key_Return);
        QCOMPARE(w.box(1), QString("128"));
        QCOMPARE(w.period(), 469);
        QCOMPARE(w.find<QSlider>("sldrBPM")->value(), 128);
        QCOMPARE(w.find<QLabel>("sknlblTapStats")->text(), QString());
    }

    void theTempoBoxTakesANewTempoOverAnOldOne()
    {
        Window w;
        auto *edit = w.find<QLineEdit>("txtManualTempo");
        w.type("txtManualTempo", "120");
        w.find<QPushButton>("cmdTempoTap")->setFocus();
        // Clicked into again, the box selects what it holds, so typing replaces it.
        QTest::mouseClick(edit, Qt::LeftButton);
        QTRY_COMPARE(edit->selectedText(), QString("120"));
        QTest::keyClicks(edit, "128");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.box(1), QString("128"));
        // The editing shortcuts work and say nothing; a paste that is no number is refused.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("128"));
        QCOMPARE(w.messages.count(), 0);
        QGuiApplication::clipboard()->setText("12x");
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("128"));
        QCOMPARE(w.messages.count(), 1);
        QCOMPARE(w.messages.last().title, QString("Bad Input"));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.messages.count(), 1);
    }

    void channelBoxesAreDisplays()
    {
        Window w;
        for (const char *name : {"txtBPM_1", "txtBPM_2"}) {
            auto *box = w.find<QLineEdit>(name);
            QCOMPARE(box->focusPolicy(), Qt::NoFocus);
            QTest::mouseClick(box, Qt::LeftButton);
            QVERIFY(!box->hasFocus());
        }
    }

    void keyFilterRefusesWithAMessage_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<char>("key");
        QTest::newRow("period in tempo") << "txtManualTempo" << '.';
        QTest::newRow("letter in tempo") << "txtManualTempo" << 'x';
        QTest::newRow("space in tempo") << "txtManualTempo" << ' ';
        QTest::newRow("minus in nudge") << "txtNudgeMS" << '-';
    }
    void keyFilterRefusesWithAMessage()
    {
        QFETCH(QString, box);
        QFETCH(char, key);
        Window w;
        auto *edit = w.find<QLineEdit>(box);
        edit->clear();
        edit->setFocus();
        QTest::keyClick(edit, key);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(w.messages.count(), 1);
        QCOMPARE(w.messages.last().title, QString("Bad Input"));
        QCOMPARE(w.messages.last().text, QString("Please enter numeric values only, with no spaces or periods   "));
        QCOMPARE(w.messages.last().icon, MessageIcon::Warning);
    }

    void keyFilterPassesDigitsCommaAndEditingKeys()
    {
        Window w;
        auto *edit = w.find<QLineEdit>("txtManualTempo");
        edit->setFocus();
        QTest::keyClicks(edit, "1,2");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Escape);
        QTest::keyClick(edit, Qt::Key_Left);
        QCOMPARE(edit->text(), QString("1,"));
        QCOMPARE(w.messages.count(), 0);
    }

    void halveAndDouble_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("applied");
        QTest::newRow("125 / 2") << "125" << "cmdDivided2" << "62";
        QTest::newRow("127 / 2") << "127" << "cmdDivided2" << "64";
        QTest::newRow("50 / 2") << "50" << "cmdDivided2" << "30";
        QTest::newRow("100 * 2") << "100" << "cmdTimes2" << "200";
        QTest::newRow("200 * 2") << "200" << "cmdTimes2" << "250";
    }
    void halveAndDouble()
    {
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, applied);
        Window w;
        w.find<QLineEdit>("txtManualTempo")->setText(typed);
        w.click(button);
        QCOMPARE(w.box(1), applied);
        QCOMPARE(w.find<QLineEdit>("txtManualTempo")->text(), applied);
    }

    void stepsStopAtTheRangeEnds()
    {
        Window w;
        auto *slider = w.find<QSlider>("sldrBPM");
        w.window.StartMetronome(240, false, 1);
        w.click("cmdPlusSldrBPM");
        QCOMPARE(w.box(1), QString("250"));
        w.window.StartMetronome(2000, false, 1);
        w.click("cmdMinusSldrBPM");
        QCOMPARE(w.box(1), QString("30"));
        QCOMPARE(slider->value(), 30);
        w.click("cmdPlusSldrBPM");
        QCOMPARE(w.box(1), QString("31"));
    }

    void stepWhileRunningResyncsToBeatTwo()
    {
        Window w;
        w.window.StopMetronome();
        w.find<QSlider>("sldrBPM")->blockSignals(true);
        w.find<QSlider>("sldrBPM")->setValue(120);
        w.find<QSlider>("sldrBPM")->blockSignals(false);
        w.click("cmdMinusSldrBPM");
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.find<BeatIndicator>("txtBeatColor")->text(), QString("1"));
        w.click("cmdMinusSldrBPM");
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.find<BeatIndicator>("txtBeatColor")->text(), QString("2"));
        QCOMPARE(w.box(1), QString("118"));
    }

    void sliderKeysMoveTheTempo()
    {
        Window w;
        auto *slider = w.find<QSlider>("sldrBPM");
        w.window.StartMetronome(500, false, 1);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Up);
        QCOMPARE(w.box(1), QString("121"));
        QTest::keyClick(slider, Qt::Key_Down);
        QTest::keyClick(slider, Qt::Key_Down);
        QCOMPARE(w.box(1), QString("119"));
        QTest::keyClick(slider, Qt::Key_PageUp);
        QCOMPARE(w.box(1), QString("129"));
        QCOMPARE(w.find<QLabel>("sknlblTapStats")->text(), QString());
    }

    void nudgeBoxCorrections_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("messages");
        QTest::newRow("500") << "500" << "300" << 1;
        QTest::newRow("5") << "5" << "20" << 1;
        QTest::newRow("99999") << "99999" << "300" << 1;
        QTest::newRow("150") << "150" << "150" << 0;
    }
    void nudgeBoxCorrections()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(int, messages);
        Window w;
        auto *edit = w.find<QLineEdit>("txtNudgeMS");
        edit->clear();
        w.type("txtNudgeMS", typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), box);
        QCOMPARE(int(settings().MSNUDGEVALUE), box.toInt());
        QCOMPARE(w.messages.count(), messages);
        if (messages) {
            QCOMPARE(w.messages.last().title, QString("Invalid Time Value"));
            QCOMPARE(w.messages.last().text, QString("The metronome nudge value must be between 20 and 300 milliseconds   "));
        }
    }

    void emptiedNudgeBoxFallsBackSilently()
    {
        Window w;
        auto *edit = w.find<QLineEdit>("txtNudgeMS");
        edit->clear();
        w.window.txtNudgeMS_Validate();
        QCOMPARE(edit->text(), QString("70"));
        QCOMPARE(settings().MSNUDGEVALUE, int16_t(70));
        QCOMPARE(w.messages.count(), 0);
    }

    void nudgesMoveTheBeatAndKeepTheTempo()
    {
        Window w;
        w.window.StartMetronome(500, false, 1);
        const double due = w.window.beatGrid().next().dueSeconds;
        w.click("cmdNudgeFaster");
        // Pressed right after the start, the first beat is far enough ahead to move.
        QCOMPARE(w.window.beatGrid().next().dueSeconds, due - 0.070);
        w.click("cmdNudgeFaster");
        QCOMPARE(w.window.beatGrid().next().dueSeconds, due - 0.140);
        w.find<QLineEdit>("txtNudgeMS")->setText("100");
        w.click("cmdNudgeSlower");
        QVERIFY(std::abs(w.window.beatGrid().next().dueSeconds - (due - 0.040)) < 1e-9);
        QCOMPARE(w.window.beatTimerInterval(), 500);
        QCOMPARE(w.box(1), QString("120"));
    }

    void nudgeWhenStoppedSaysSo()
    {
        Window w;
        w.click("cmdNudgeSlower");
        QCOMPARE(w.messages.count(), 1);
        QCOMPARE(w.messages.last().title, QString("Metronome Stopped"));
        QCOMPARE(w.messages.last().text,
                 QString("You must start the metronome to nudge the real-time tempo faster or slower   "));
    }

    void calculatedNudge_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("nudge");
        QTest::newRow("120 BPM") << 500 << "83";
        QTest::newRow("128 BPM") << 469 << "78";
        QTest::newRow("250 BPM") << 240 << "40";
        QTest::newRow("30 BPM") << 2000 << "300";
    }
    void calculatedNudge()
    {
        QFETCH(int, interval);
        QFETCH(QString, nudge);
        Window w;
        w.find<QCheckBox>("chkAllowNudgeCalc")->setChecked(true);
        w.window.StartMetronome(interval, false, 1);
        QCOMPARE(w.find<QLineEdit>("txtNudgeMS")->text(), nudge);
        QCOMPARE(QString::number(settings().MSNUDGEVALUE), nudge);
        QCOMPARE(w.messages.count(), 0);
    }
};

QTEST_MAIN(TempoEntryTest)
#include "test_TempoEntry.moc"
