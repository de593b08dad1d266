// SPDX-License-Identifier: GPL-2.0-or-later
// Windows reopen where they were closed, in twips, never above or left of the screen.
#include "TestEnvironment.h"

#include "common/Twips.h"
#include "platform/Registry.h"
#include "platform/RegistryBackend.h"
#include "platform/ScreenFit.h"
#include "platform/WindowPlacement.h"

#include <QtTest>
#include <QtWidgets>

using namespace pulsivar;

namespace {

constexpr int designWidth = 267;  // 4005 twips
constexpr int designHeight = 120; // 1800 twips

std::unique_ptr<QWidget> makeWindow(const QString &name, bool sizable)
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(name);
    if (sizable) {
        window->resize(designWidth, designHeight);
        window->setMinimumSize(50, 50);
    } else {
        window->setFixedSize(designWidth, designHeight);
    }
    return window;
}

QString stored(const QString &valueName)
{
    QString text;
    clsRegistry registry;
    if (!registry.GetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), QString::fromLatin1(applicationKey), valueName, text))
        return QStringLiteral("<none>");
    return text;
}

void store(const QString &valueName, const QString &text)
{
    clsRegistry().SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), QString::fromLatin1(applicationKey), valueName, text);
}

} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void firstRunKeepsTheDesignPlacement()
    {
        test::TestEnvironment environment;
        auto placed = makeWindow(QStringLiteral("frmUndocked"), true);
        placed->move(40, 60);
        RestoreFormPosition(placed.get());
        QCOMPARE(placed->pos(), QPoint(40, 60));
        QCOMPARE(placed->size(), QSize(designWidth, designHeight));
        // A window nobody has placed is left for the window system to place.
        auto unplaced = makeWindow(QStringLiteral("frmMeasureConfig"), false);
        RestoreFormPosition(unplaced.get());
        QVERIFY(!unplaced->testAttribute(Qt::WA_Moved));
    }

    void positionRoundTrip_data()
    {
        QTest::addColumn<int>("leftTwips");
        QTest::addColumn<int>("topTwips");
        QTest::addColumn<QPoint>("reopensAt");
        QTest::newRow("on screen") << 1500 << 3000 << QPoint(100, 200);
        QTest::newRow("partly above the screen") << 1500 << -300 << QPoint(100, 0);
        QTest::newRow("partly left of the screen") << -300 << 3000 << QPoint(0, 200);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("beyond the screen is pulled back")
            << 60000 << 45000 << QPoint(screen.right() + 1 - designWidth, screen.bottom() + 1 - designHeight);
    }
    void positionRoundTrip()
    {
        QFETCH(int, leftTwips);
        QFETCH(int, topTwips);
        QFETCH(QPoint, reopensAt);
        test::TestEnvironment environment;
        auto closing = makeWindow(QStringLiteral("frmCamelot"), false);
        closing->move(twipsToPixels(leftTwips), twipsToPixels(topTwips));
        SaveFormPosition(closing.get());
        QCOMPARE(stored("frmCamelotTop"), QString::number(topTwips));
        QCOMPARE(stored("frmCamelotLeft"), QString::number(leftTwips));
        QCOMPARE(stored("frmCamelotWidth"), QStringLiteral("<none>"));

        auto opening = makeWindow(QStringLiteral("frmCamelot"), false);
        RestoreFormPosition(opening.get());
        QCOMPARE(opening->pos(), reopensAt);
    }

    void sizableWindowsNeverShrinkBelowTheirDesign_data()
    {
        QTest::addColumn<int>("storedWidth");
        QTest::addColumn<int>("storedHeight");
        QTest::addColumn<QSize>("opensAt");
        QTest::newRow("narrower than designed") << 3000 << 1800 << QSize(designWidth, designHeight);
        QTest::newRow("as designed") << 4005 << 1800 << QSize(designWidth, designHeight);
        QTest::newRow("wider than designed") << 6000 << 1800 << QSize(400, designHeight);
        QTest::newRow("taller only") << 3000 << 4500 << QSize(designWidth, 300);
        QTest::newRow("not a number") << -1 << -1 << QSize(designWidth, designHeight);
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        QTest::newRow("larger than the screen") << 2147483647 << 2147483640 << screen;
    }
    void sizableWindowsNeverShrinkBelowTheirDesign()
    {
        QFETCH(int, storedWidth);
        QFETCH(int, storedHeight);
        QFETCH(QSize, opensAt);
        test::TestEnvironment environment;
        store("frmUndockedTop", "0");
        store("frmUndockedLeft", "0");
        store("frmUndockedWidth", storedWidth < 0 ? QStringLiteral("wide") : QString::number(storedWidth));
        store("frmUndockedHeight", storedHeight < 0 ? QStringLiteral("tall") : QString::number(storedHeight));
        auto window = makeWindow(QStringLiteral("frmUndocked"), true);
        RestoreFormPosition(window.get());
        QCOMPARE(window->size(), opensAt);
    }

    // Two screens side by side, the second shorter: a window lands wholly on the one it overlaps most.
    void windowsAreFittedOnTheScreens_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("on the first") << QRect(100, 100, 300, 200) << QRect(100, 100, 300, 200);
        QTest::newRow("on the second") << QRect(1500, 100, 300, 200) << QRect(1500, 100, 300, 200);
        QTest::newRow("mostly on the second") << QRect(1250, 600, 300, 200) << QRect(1280, 568, 300, 200);
        QTest::newRow("far off to the right") << QRect(90000, 90000, 300, 200) << QRect(1980, 568, 300, 200);
        QTest::newRow("far above the first") << QRect(50, -90000, 300, 200) << QRect(50, 0, 300, 200);
        QTest::newRow("larger than any") << QRect(0, 0, 32767, 32767) << QRect(0, 0, 1280, 1024);
    }
    void windowsAreFittedOnTheScreens()
    {
        QFETCH(QRect, window);
        QFETCH(QRect, fitted);
        const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1000, 768)};
        QCOMPARE(fitOnScreens(window, screens), fitted);
    }

    void sizableWindowSavesItsSize()
    {
        test::TestEnvironment environment;
        auto window = makeWindow(QStringLiteral("frmUndocked"), true);
        window->move(30, 45);
        window->resize(400, 200);
        SaveFormPosition(window.get());
        QCOMPARE(stored("frmUndockedWidth"), QStringLiteral("6000"));
        QCOMPARE(stored("frmUndockedHeight"), QStringLiteral("3000"));
        auto reopened = makeWindow(QStringLiteral("frmUndocked"), true);
        RestoreFormPosition(reopened.get());
        QCOMPARE(reopened->geometry(), QRect(30, 45, 400, 200));
    }

    void fixedWindowsIgnoreAStoredSize()
    {
        test::TestEnvironment environment;
        store("frmMeasureConfigWidth", "9000");
        store("frmMeasureConfigHeight", "9000");
        auto window = makeWindow(QStringLiteral("frmMeasureConfig"), false);
        RestoreFormPosition(window.get());
        QCOMPARE(window->size(), QSize(designWidth, designHeight));
    }

    void aStoredPositionThatIsNoNumberMeansTheEdge()
    {
        test::TestEnvironment environment;
        store("frmMetronomeTop", "high");
        store("frmMetronomeLeft", "1500");
        auto window = makeWindow(QStringLiteral("frmMetronome"), false);
        RestoreFormPosition(window.get());
        QCOMPARE(window->pos(), QPoint(100, 0));
    }

    // Minimized or maximized, only a negative top or left is saved (as 0); the rest keeps the
    // values of the last close in the normal state.
    void minimizedOrMaximizedSavesOnlyNegativeCoordinates_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");
        const int minimized = int(Qt::WindowMinimized);
        const int maximized = int(Qt::WindowMaximized);
        QTest::newRow("minimized off the top-left") << minimized << QPoint(-20, -20) << "0" << "0";
        QTest::newRow("minimized above") << minimized << QPoint(10, -20) << "0" << "1500";
        QTest::newRow("minimized on screen") << minimized << QPoint(10, 20) << "3000" << "1500";
        QTest::newRow("maximized off the left") << maximized << QPoint(-4, 40) << "3000" << "0";
    }
    void minimizedOrMaximizedSavesOnlyNegativeCoordinates()
    {
        QFETCH(int, state);
        QFETCH(QPoint, position);
        QFETCH(QString, top);
        QFETCH(QString, left);
        test::TestEnvironment environment;
        auto window = makeWindow(QStringLiteral("frmUndocked"), true);
        window->move(100, 200);
        window->resize(400, 200);
        SaveFormPosition(window.get());

        window->move(position);
        window->resize(300, 150);
        window->setWindowState(Qt::WindowStates(state));
        SaveFormPosition(window.get());
        QCOMPARE(stored("frmUndockedTop"), top);
        QCOMPARE(stored("frmUndockedLeft"), left);
        QCOMPARE(stored("frmUndockedWidth"), QStringLiteral("6000"));
        QCOMPARE(stored("frmUndockedHeight"), QStringLiteral("3000"));
    }

    void eachWindowHasItsOwnValues()
    {
        test::TestEnvironment environment;
        auto one = makeWindow(QStringLiteral("frmMeasureConfig"), false);
        auto two = makeWindow(QStringLiteral("frmAutoBPMConfig"), false);
        one->move(10, 20);
        two->move(30, 40);
        SaveFormPosition(one.get());
        SaveFormPosition(two.get());
        QCOMPARE(stored("frmMeasureConfigLeft"), QStringLiteral("150"));
        QCOMPARE(stored("frmAutoBPMConfigLeft"), QStringLiteral("450"));
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
