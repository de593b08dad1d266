// SPDX-License-Identifier: GPL-2.0-or-later
// The undocked display: its resize rule, the beat mirror, "Play sound" and closing.
#include "extras/frmUndocked.h"

#include "settings/ProgramState.h"
#include "common/Twips.h"
#include "extras/UndockedLayout.h"

#include "TestEnvironment.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace pulsivar;

class UndockedTest : public QObject {
    Q_OBJECT

    // The display's placement goes to a settings file of the test's own.
    test::TestEnvironment environment;

private slots:
    void init()
    {
        programState().bShuttingDown = false;
        settings().PlayBeatSound = true;
    }
    void cleanup()
    {
        if (undockedDisplay().isVisible())
            undockedDisplay().hide();
    }

    void boxFollowsWindowAboveTheBounds_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("box");
        QTest::newRow("width at bound") << QSize(500, 3000) << QSize(3405, 2020);
        QTest::newRow("width above bound") << QSize(501, 3000) << QSize(241, 2020);
        QTest::newRow("height at bound") << QSize(4000, 1050) << QSize(3740, 2925);
        QTest::newRow("height above bound") << QSize(4000, 1051) << QSize(3740, 71);
        QTest::newRow("both at bounds") << QSize(500, 1050) << QSize(3405, 2925);
        QTest::newRow("both above") << QSize(7800, 6300) << QSize(7540, 5320);
    }
    void boxFollowsWindowAboveTheBounds()
    {
        QFETCH(QSize, window);
        QFETCH(QSize, box);
        QCOMPARE(undockedBoxSize(window, QSize(3405, 2925)), box);
    }

    void resizingTheWindowFitsTheBox()
    {
        frmUndocked window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(600, 400);
        // The rule measures the outer size, frame included.
        QTRY_COMPARE(window.size(), QSize(600, 400));
        const QSize outer = window.frameGeometry().size();
        QCOMPARE(window.txtBeatColor->size(), QSize(twipsToPixels(pixelsToTwips(outer.width()) - 260),
                                                    twipsToPixels(pixelsToTwips(outer.height()) - 980)));
        QCOMPARE(window.txtBeatColor->pos(), QPoint(twipsToPixels(75), twipsToPixels(360)));
    }

    void windowIsNamedAndCaptioned()
    {
        frmUndocked &window = undockedDisplay();
        QCOMPARE(window.objectName(), QStringLiteral("frmUndocked"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Undocked Tempo Display"));
        QCOMPARE(window.chkAlwaysOnTop->text(), QStringLiteral("Always on top"));
        QCOMPARE(window.chkAlwaysOnTop->toolTip(), QStringLiteral("Display this window on top of all other windows"));
        QCOMPARE(window.chkPlayWave->text(), QStringLiteral("Play sound"));
        QCOMPARE(window.chkPlayWave->toolTip(), QStringLiteral("Play a sound when beats occure"));
        QVERIFY(window.txtBeatColor->isReadOnly());
        QVERIFY(!window.chkAlwaysOnTop->isChecked());
        QVERIFY(!window.isVisible());
    }

    void mirrorsOnlyWhileVisible()
    {
        frmUndocked &window = undockedDisplay();
        window.ShowMe(true);
        QVERIFY(window.isVisible());
        mirrorBeatOnUndockedDisplay(QColor(255, 0, 0), QStringLiteral("1"));
        QCOMPARE(window.boxColor(), QColor(255, 0, 0));
        QCOMPARE(window.txtBeatColor->text(), QStringLiteral("1"));
        mirrorBeatOnUndockedDisplay(QColor(0, 0, 255), QStringLiteral("2"));
        QCOMPARE(window.boxColor(), QColor(0, 0, 255));
        QCOMPARE(window.txtBeatColor->text(), QStringLiteral("2"));

        window.close(); // the frame's close button only hides it
        QVERIFY(!window.isVisible());
        mirrorBeatOnUndockedDisplay(QColor(0, 255, 0), QStringLiteral("3"));
        clearUndockedDisplay();
        QCOMPARE(window.boxColor(), QColor(0, 0, 255));
        QCOMPARE(window.txtBeatColor->text(), QStringLiteral("2"));

        window.ShowMe(true); // shown again with what it showed last
        QCOMPARE(window.txtBeatColor->text(), QStringLiteral("2"));
        clearUndockedDisplay();
        QCOMPARE(window.boxColor(), QColor(Qt::white));
        QCOMPARE(window.txtBeatColor->text(), QString());
    }

    void playSoundAgreesWithMenuAndSetting()
    {
        frmUndocked &window = undockedDisplay();
        QSignalSpy toggled(&window, &frmUndocked::playBeatSoundToggled);

        // The menu toggled while hidden: "Play sound" follows and says nothing back.
        settings().PlayBeatSound = false;
        window.setPlayWave(false);
        QVERIFY(!window.chkPlayWave->isChecked());
        window.ShowMe(false);
        QVERIFY(!window.chkPlayWave->isChecked());
        QCOMPARE(toggled.count(), 0);

        // The user ticks "Play sound": the setting and the menu are told.
        window.chkPlayWave->click();
        QVERIFY(settings().PlayBeatSound);
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(toggled.last().at(0).toBool(), true);
        window.chkPlayWave->click();
        QVERIFY(!settings().PlayBeatSound);
        QCOMPARE(toggled.last().at(0).toBool(), false);

        // ShowMe takes the menu's check mark.
        window.hide();
        window.ShowMe(true);
        QVERIFY(window.chkPlayWave->isChecked());
    }

    void closingByUserHidesAndKeepsWindow()
    {
        frmUndocked &window = undockedDisplay();
        QSignalSpy closed(&window, &frmUndocked::undockClosed);
        window.ShowMe(true);
        QVERIFY(!window.close());
        QVERIFY(!window.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(&undockedDisplay(), &window);
    }

    void alwaysOnTopKeepsWindowShown()
    {
        frmUndocked &window = undockedDisplay();
        window.ShowMe(true);
        window.chkAlwaysOnTop->click();
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        window.chkAlwaysOnTop->click();
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
    }

    void unloadedAtExit()
    {
        QPointer<frmUndocked> window = &undockedDisplay();
        QSignalSpy closed(window.data(), &frmUndocked::undockClosed);
        window->ShowMe(true);
        window->move(90, 120);
        window->resize(700, 500);
        programState().bShuttingDown = true;
        unloadUndockedDisplay();
        QVERIFY(window.isNull());
        QCOMPARE(closed.count(), 1);
        programState().bShuttingDown = false;
        // A later reference loads a fresh, hidden window.
        QVERIFY(!undockedDisplay().isVisible());
        QCOMPARE(undockedDisplay().txtBeatColor->text(), QString());
        // ... where the last one was closed.
        QCOMPARE(undockedDisplay().pos(), QPoint(90, 120));
        QCOMPARE(undockedDisplay().size(), QSize(700, 500));

        // A display that was never shown is closed for good as well.
        QPointer<frmUndocked> hidden = &undockedDisplay();
        QSignalSpy hiddenClosed(hidden.data(), &frmUndocked::undockClosed);
        programState().bShuttingDown = true;
        unloadUndockedDisplay();
        programState().bShuttingDown = false;
        QVERIFY(hidden.isNull());
        QCOMPARE(hiddenClosed.count(), 1);
    }
};

QTEST_MAIN(UndockedTest)
#include "test_frmUndocked.moc"
