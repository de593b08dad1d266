// SPDX-License-Identifier: GPL-2.0-or-later
// Keeping a window above the others, and the main window's menu entry for it.
#include "platform/AlwaysOnTop.h"

#include <QtTest>
#include <QtWidgets>

using namespace pulsivar;

class TestAlwaysOnTop : public QObject {
    Q_OBJECT

private slots:
    void setAndClearKeepTheWindowShownInPlace()
    {
        QWidget window;
        window.resize(200, 100);
        window.move(70, 80);
        window.show();
        SetAlwaysOnTop(&window);
        QVERIFY(isAlwaysOnTop(&window));
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), QPoint(70, 80));
        ClearAlwaysOnTop(&window);
        QVERIFY(!isAlwaysOnTop(&window));
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), QPoint(70, 80));
    }

    void aHiddenWindowStaysHidden()
    {
        QWidget window;
        SetAlwaysOnTop(&window);
        QVERIFY(isAlwaysOnTop(&window));
        QVERIFY(!window.isVisible());
    }

    void theMenuEntryTogglesAndFollowsTheWindow()
    {
        QWidget window;
        window.show();
        QAction entry(QStringLiteral("&Always on top"));
        entry.setCheckable(true);
        // A checkable action has already flipped its mark when its handler runs.
        entry.trigger();
        toggleAlwaysOnTop(&window, &entry);
        QVERIFY(isAlwaysOnTop(&window));
        QVERIFY(entry.isChecked());
        entry.trigger();
        toggleAlwaysOnTop(&window, &entry);
        QVERIFY(!isAlwaysOnTop(&window));
        QVERIFY(!entry.isChecked());
    }
};

QTEST_MAIN(TestAlwaysOnTop)
#include "test_always_on_top.moc"
