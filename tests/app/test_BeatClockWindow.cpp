// SPDX-License-Identifier: GPL-2.0-or-later
// The beat clock through the main window's real widgets: start, ticks, sync, stop, taps.
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "metronome/BeatIndicator.h"
#include "FakeClock.h"
#include "FakeBeatSoundEngine.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QRadioButton>
#include <QPushButton>
#include <QSlider>
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
    }
    template <typename T>
    T *find(const char *name) { return window.findChild<T *>(QString::fromLatin1(name)); }
    BeatIndicator *indicator() { return find<BeatIndicator>("txtBeatColor"); }
    QString beatText() { return indicator()->text(); }
    QColor beatColor() { return indicator()->beatColor(); }

    TestEnvironment env;
    FakeClock fakeClock;
    frmMetronome window;
};
} // namespace

class BeatClockWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startLimitsAndWritesTheTempoEverywhere_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("bpm");
        QTest::newRow("100 ms") << 100 << 240 << "250";
        QTest::newRow("3000 ms") << 3000 << 2000 << "30";
        QTest::newRow("128 BPM's interval") << 469 << 469 << "127.93";
        QTest::newRow("500 ms") << 500 << 500 << "120";
    }
    void startLimitsAndWritesTheTempoEverywhere()
    {
        QFETCH(int, interval);
        QFETCH(int, period);
        QFETCH(QString, bpm);
        Window w;
        w.window.StartMetronome(interval, false, 1);
        QVERIFY(w.window.isMetronomeRunning());
        QCOMPARE(w.window.beatTimerInterval(), period);
        QCOMPARE(w.window.channels().intervalMs(1), period);
        // The beat runs at the exact tempo of the interval.
        QCOMPARE(w.window.beatGrid().periodSeconds(), period / 1000.0);
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), bpm);
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString());
        QCOMPARE(w.find<QSlider>("sldrBPM")->value(), qRound(bpm.toDouble()));
        QCOMPARE(w.find<QLineEdit>("txtManualTempo")->text(), QString::number(qRound(bpm.toDouble())));
    }

    void zeroIntervalDoesNothing()
    {
        Window w;
        w.window.StartMetronome(0, false, 1);
        QVERIFY(!w.window.isMetronomeRunning());
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString());
    }

    void channelTwoGetsItsOwnInterval()
    {
        Window w;
        w.find<QRadioButton>("optChannel_2")->setChecked(true);
        w.window.StartMetronome(600, false, 1);
        QCOMPARE(w.window.channels().intervalMs(2), 600);
        QCOMPARE(w.window.channels().intervalMs(1), 0);
        QCOMPARE(w.find<QLineEdit>("txtBPM_2")->text(), QString("100"));
    }

    void leftRightAudioOptionNeverStarts()
    {
        Window w;
        w.find<QRadioButton>("optChannel_3")->setChecked(true);
        w.window.StartMetronome(500, false, 1);
        QVERIFY(!w.window.isMetronomeRunning());
        QVERIFY(!w.window.mbStartingMetronome);
        QCOMPARE(w.window.channels().intervalMs(1), 0);
    }

    void ticksNumberAndColourTheMeasure_data()
    {
        QTest::addColumn<int>("beats");
        for (int beats = 2; beats <= 7; ++beats)
            QTest::addRow("%d beats", beats) << beats;
    }
    void ticksNumberAndColourTheMeasure()
    {
        QFETCH(int, beats);
        Window w;
        settings().BeatsPerMeasure = int16_t(beats);
        const QList<QColor> colours{QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 255, 0),
                                    QColor(255, 0, 255), QColor(255, 128, 0), QColor(192, 192, 192)};
        w.window.StartMetronome(500, false, 1);
        for (int tick = 0; tick < beats * 2; ++tick) {
            w.window.oBeatTimer_Timer();
            const int beat = tick % beats + 1;
            QCOMPARE(w.beatText(), QString::number(beat));
            QCOMPARE(w.beatColor(), colours[beat - 1]);
        }
    }

    // A beat repaints the indicator alone: no new style, no new layout of the window.
    void aBeatNeitherRestylesNorLaysOutTheWindow()
    {
        struct Counter : QObject {
            int layouts = 0;
            int styles = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                layouts += event->type() == QEvent::LayoutRequest;
                styles += event->type() == QEvent::StyleChange;
                return false;
            }
        } counter;
        Window w;
        w.window.show();
        w.window.StartMetronome(500, false, 1);
        // What the start itself laid out is done before the beats are counted.
        QTest::qWait(100);
        qApp->installEventFilter(&counter);
        for (int tick = 0; tick < 8; ++tick) {
            w.window.oBeatTimer_Timer();
            QCoreApplication::sendPostedEvents();
        }
        qApp->removeEventFilter(&counter);
        QCOMPARE(counter.layouts, 0);
        QCOMPARE(counter.styles, 0);
        QVERIFY(w.indicator()->testAttribute(Qt::WA_OpaquePaintEvent));
    }

    void beatAboveSevenKeepsTheColour()
    {
        Window w;
        settings().BeatsPerMeasure = 9;
        w.window.StartMetronome(500, false, 7);
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.beatColor(), QColor(192, 192, 192));
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.beatText(), QString("8"));
        QCOMPARE(w.beatColor(), QColor(192, 192, 192));
    }

    void startSyncResyncsToBeatTwoWhileRunning()
    {
        Window w;
        MessageRecorder messages;
        w.window.StartMetronome(500, false, 1);
        w.window.cmdStopMetronome_Click();
        QVERIFY(!w.window.isMetronomeRunning());
        QTest::mouseClick(w.find<QPushButton>("cmdStartMetronome"), Qt::LeftButton);
        QVERIFY(w.window.isMetronomeRunning());
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.beatText(), QString("1"));
        w.window.oBeatTimer_Timer();
        QTest::mouseClick(w.find<QPushButton>("cmdStartMetronome"), Qt::LeftButton);
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.beatText(), QString("2"));
        w.window.oBeatTimer_Timer();
        QCOMPARE(w.beatText(), QString("3"));
        QCOMPARE(messages.count(), 0);
    }

    void startSyncWithoutTempoSaysSo_data()
    {
        QTest::addColumn<int>("channel");
        QTest::newRow("channel 1") << 1;
        QTest::newRow("channel 2") << 2;
    }
    void startSyncWithoutTempoSaysSo()
    {
        QFETCH(int, channel);
        Window w;
        MessageRecorder messages;
        w.find<QRadioButton>(qPrintable(QString("optChannel_%1").arg(channel)))->setChecked(true);
        QTest::mouseClick(w.find<QPushButton>("cmdStartMetronome"), Qt::LeftButton);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QString("No Channel %1 Tempo").arg(channel));
        QCOMPARE(messages.last().text,
                 QString("You must enter a tempo for Channel %1 before starting the metronome   ").arg(channel));
        QCOMPARE(messages.last().icon, MessageIcon::Information);
        QVERIFY(!w.window.isMetronomeRunning());
    }

    void startSyncDoesNothingForTheAudioOption()
    {
        Window w;
        MessageRecorder messages;
        w.find<QRadioButton>("optChannel_3")->setChecked(true);
        QTest::mouseClick(w.find<QPushButton>("cmdStartMetronome"), Qt::LeftButton);
        QCOMPARE(messages.count(), 0);
        QVERIFY(!w.window.isMetronomeRunning());
    }

    void stopClearsTheIndicatorAndKeepsTheChannels()
    {
        Window w;
        w.window.StartMetronome(500, false, 1);
        w.window.oBeatTimer_Timer();
        w.window.oBeatTimer_Timer();
        QTest::mouseClick(w.find<QPushButton>("cmdStopMetronome"), Qt::LeftButton);
        QVERIFY(!w.window.isMetronomeRunning());
        QCOMPARE(w.window.beatTimerInterval(), 0);
        QCOMPARE(w.beatText(), QString());
        QCOMPARE(w.beatColor(), QColor(Qt::white));
        QCOMPARE(w.window.beatGrid().next().number, 1);
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString("120"));
        QCOMPARE(w.window.channels().intervalMs(1), 500);
        // Stop while stopped changes nothing.
        w.window.cmdStopMetronome_Click();
        QVERIFY(!w.window.isMetronomeRunning());
    }

    void tapAverageShowsInTheChannel()
    {
        Window w;
        w.window.StartMetronome(500, true, 1);
        w.window.StartMetronome(520, true, 1);
        QCOMPARE(w.window.beatTimerInterval(), 510);
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString("117.65"));
        w.window.StartMetronome(480, true, 1);
        QCOMPARE(w.window.beatTimerInterval(), 500);
        QCOMPARE(w.find<QLineEdit>("txtBPM_1")->text(), QString("120"));
    }

    void tapStatisticsResetAfterThePause()
    {
        Window w;
        auto *stats = w.find<QLabel>("sknlblTapStats");
        w.window.StartMetronome(500, true, 1);
        w.window.channels().taps.mdLastTapTime = w.fakeClock.seconds;
        stats->setText("Tempo tap samples averaged: 2");
        w.fakeClock.advanceMs(2000);
        w.window.oBeatTimer_Timer();
        QCOMPARE(stats->text(), QString("Tempo tap samples averaged: 2"));
        w.fakeClock.advanceMs(100);
        w.window.oBeatTimer_Timer();
        QCOMPARE(stats->text(), QString("Resetting..."));
        QCOMPARE(w.window.channels().taps.miIntervalHistoryIndex, int16_t(-1));
        w.window.oBeatTimer_Timer();
        QCOMPARE(stats->text(), QString());
        w.window.oBeatTimer_Timer();
        QCOMPARE(stats->text(), QString());
    }

    void clickOutputIsChosenKeptAndFallsBack()
    {
        Window w;
        FakeBeatSoundEngine engine;
        engine.devices = {"Speakers", "Headphones"};
        auto *menu = w.window.findChild<QMenu *>("mnuOptions_ClickOutput");
        QVERIFY(menu);
        QMetaObject::invokeMethod(menu, "aboutToShow");
        auto *headphones = w.find<QAction>("mnuClickOutput_2");
        QCOMPARE(headphones->text(), QString("Headphones"));
        QVERIFY(w.find<QAction>("mnuClickOutput_Default")->isChecked());
        headphones->trigger();
        QCOMPARE(settings().ClickOutputDevice, QString("Headphones"));
        QCOMPARE(engine.outputDevice, QString("Headphones"));
        // Gone the next time: still listed as chosen, and the default plays, which the window says.
        engine.devices = {"Speakers"};
        QMetaObject::invokeMethod(menu, "aboutToShow");
        QVERIFY(w.find<QAction>("mnuClickOutput_2")->isChecked());
        engine.fallsBack = true;
        w.find<QAction>("mnuOptions_PlayBeatSound")->setChecked(true);
        w.window.StartMetronome(500, false, 1);
        QVERIFY(w.window.statusBar()->currentMessage().contains("\"Headphones\" is not there"));
    }

    void realTimerBeats()
    {
        Window w;
        w.window.StartMetronome(240, false, 1);
        // Three periods at most, with room for a slow machine.
        QTRY_COMPARE_WITH_TIMEOUT(w.beatText(), QString("2"), 2000);
        w.window.StopMetronome();
        QCOMPARE(w.beatText(), QString());
    }
};

QTEST_MAIN(BeatClockWindowTest)
#include "test_BeatClockWindow.moc"
