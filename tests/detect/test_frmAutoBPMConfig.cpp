// SPDX-License-Identifier: GPL-2.0-or-later
// The detection dialog: colour swatch, silence time-out slider, hiding instead of closing.
#include "detect/frmAutoBPMConfig.h"
#include "settings/ProgramState.h"
#include "common/Colors.h"
#include "common/ColorChooser.h"
#include "platform/SkinLabel.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
struct Dialog {
    Dialog() { settings() = ProgramSettings{}; }
    ~Dialog()
    {
        setColorChooser({});
        programState().bShuttingDown = true;
        closeAutoBPMConfigForShutdown();
        programState().bShuttingDown = false;
    }
    TestEnvironment env;
    MessageRecorder messages;
};
} // namespace

class AutoBPMConfigTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheDefaults()
    {
        Dialog fixture;
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        QCOMPARE(dialog.objectName(), QString("frmAutoBPMConfig"));
        QCOMPARE(dialog.windowTitle(), QString("A.T.D. Configuration"));
        QCOMPARE(dialog.sldrSampleTimeout->value(), 6);
        QCOMPARE(dialog.skinlblSamleTimeout->text(), QString("6 Seconds"));
        QCOMPARE(dialog.swatchColor(), QColor(255, 0, 0));
    }

    void sliderEnds_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("stored");
        QTest::newRow("no timeout") << 121 << "No Timeout" << 32767;
        QTest::newRow("longest") << 120 << "120 Seconds" << 120;
        QTest::newRow("shortest") << 5 << "5 Seconds" << 5;
    }
    void sliderEnds()
    {
        QFETCH(int, position);
        QFETCH(QString, label);
        QFETCH(int, stored);
        Dialog fixture;
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        dialog.sldrSampleTimeout->setValue(position);
        QCOMPARE(dialog.skinlblSamleTimeout->text(), label);
        QCOMPARE(int(settings().AutoBPMInputTimeout), stored);
    }

    void backFromNoTimeoutToSeconds()
    {
        Dialog fixture;
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        dialog.sldrSampleTimeout->setValue(121);
        dialog.sldrSampleTimeout->setValue(120);
        QCOMPARE(dialog.skinlblSamleTimeout->text(), QString("120 Seconds"));
        QCOMPARE(int(settings().AutoBPMInputTimeout), 120);
    }

    void arrowKeysStepByOneAndPageKeysByFive()
    {
        Dialog fixture;
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        QTest::keyClick(dialog.sldrSampleTimeout, Qt::Key_Up);
        QCOMPARE(int(settings().AutoBPMInputTimeout), 7);
        QTest::keyClick(dialog.sldrSampleTimeout, Qt::Key_Down);
        QTest::keyClick(dialog.sldrSampleTimeout, Qt::Key_Down);
        QCOMPARE(int(settings().AutoBPMInputTimeout), 5);
        QTest::keyClick(dialog.sldrSampleTimeout, Qt::Key_PageUp);
        QCOMPARE(int(settings().AutoBPMInputTimeout), 10);
    }

    void storedTimeoutsTheSliderCannotShow_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::newRow("no timeout sits at the top") << 32767 << 121 << "No Timeout";
        QTest::newRow("below the range leaves the slider") << 2 << 10 << "2 Seconds";
    }
    void storedTimeoutsTheSliderCannotShow()
    {
        QFETCH(int, stored);
        QFETCH(int, position);
        QFETCH(QString, label);
        Dialog fixture;
        settings().AutoBPMInputTimeout = int16_t(stored);
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        QCOMPARE(dialog.sldrSampleTimeout->value(), position);
        QCOMPARE(dialog.skinlblSamleTimeout->text(), label);
        // Loading does not rewrite the setting.
        QCOMPARE(int(settings().AutoBPMInputTimeout), stored);
    }

    void changeTakesAChosenColour()
    {
        Dialog fixture;
        QString askedTitle;
        QColor askedInitial;
        setColorChooser([&](const QColor &initial, const QString &title, QWidget *) {
            askedTitle = title;
            askedInitial = initial;
            return ColorChoice{ColorChoice::Outcome::Chosen, QColor(0, 128, 255), {}};
        });
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        dialog.cmdChange->click();
        QCOMPARE(askedTitle, QString("Select a new color for Automatic Beat Detection"));
        QCOMPARE(askedInitial, QColor(255, 0, 0));
        QCOMPARE(dialog.swatchColor(), QColor(0, 128, 255));
        QCOMPARE(settings().AutoBPMColor, colorRefFromColor(QColor(0, 128, 255)));
    }

    void blackCancelAndFailureLeaveTheColour_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("messages");
        QTest::newRow("black") << int(ColorChoice::Outcome::Chosen) << 0;
        QTest::newRow("cancel") << int(ColorChoice::Outcome::Cancelled) << 0;
        QTest::newRow("failure") << int(ColorChoice::Outcome::Failed) << 1;
    }
    void blackCancelAndFailureLeaveTheColour()
    {
        QFETCH(int, outcome);
        QFETCH(int, messages);
        Dialog fixture;
        setColorChooser([&](const QColor &, const QString &, QWidget *) {
            return ColorChoice{ColorChoice::Outcome(outcome), QColor(Qt::black), "no dialog"};
        });
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        dialog.cmdChange->click();
        QCOMPARE(dialog.swatchColor(), QColor(255, 0, 0));
        QCOMPARE(settings().AutoBPMColor, 255);
        QCOMPARE(fixture.messages.count(), messages);
        if (messages) {
            QCOMPARE(fixture.messages.last().title, QString("Color Selection Error"));
            QCOMPARE(fixture.messages.last().text,
                     QString("An error occurred while customizing the BPM VU meters: \n\nError Description: no dialog"));
        }
    }

    void okAndClosingHideAndReopeningShowsTheSameValues()
    {
        Dialog fixture;
        frmAutoBPMConfig &dialog = autoBPMConfigDialog();
        dialog.ShowMe();
        dialog.sldrSampleTimeout->setValue(40);
        dialog.cmdOK->click();
        QVERIFY(!dialog.isVisible());
        dialog.ShowMe();
        QVERIFY(dialog.close() == false || !dialog.isVisible());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(existingAutoBPMConfig(), &dialog);
        autoBPMConfigDialog().ShowMe();
        QCOMPARE(dialog.sldrSampleTimeout->value(), 40);
        QCOMPARE(dialog.skinlblSamleTimeout->text(), QString("40 Seconds"));
    }

    void atShutdownItClosesForGood()
    {
        Dialog fixture;
        autoBPMConfigDialog().ShowMe();
        programState().bShuttingDown = true;
        closeAutoBPMConfigForShutdown();
        programState().bShuttingDown = false;
        QVERIFY(!existingAutoBPMConfig());
    }
};

QTEST_MAIN(AutoBPMConfigTest)
#include "test_frmAutoBPMConfig.moc"
