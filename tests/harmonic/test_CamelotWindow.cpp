// SPDX-License-Identifier: GPL-2.0-or-later
// The harmonic key mixing window driven through its controls.
#include "harmonic/CamelotOpening.h"
#include "harmonic/HarmonicServices.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace pulsivar;

namespace {

template <typename T>
T *control(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Lets closed windows finish deleting themselves.
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int openCamelotWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += widget->objectName() == QLatin1String("frmCamelot") ? 1 : 0;
    return count;
}

} // namespace

class TestCamelotWindow : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void loadsWithEveryKeyAndNoSelection();
    void pickingFromTheListShowsCompatibleKeys();
    void clickingAWheelSpaceSelectsItsKey_data();
    void clickingAWheelSpaceSelectsItsKey();
    void openingTwiceKeepsOneWindowAndItsSelection();
    void closingUnloadsAndSavesPlacement_data();
    void closingUnloadsAndSavesPlacement();
    void loadingSkinsThenPlaces();
    void alwaysOnTopFollowsTheBox();
    void alwaysOnTopByDefaultSetsTheWindowFlag();
    void menuCommandShowsWindowAndRestoresPointer();
};

void TestCamelotWindow::cleanup()
{
    // The services first: they refer to the finished test's locals.
    setHarmonicServices({});
    if (frmCamelot *window = frmCamelotIfLoaded())
        window->close();
    flushDeletes();
}

void TestCamelotWindow::loadsWithEveryKeyAndNoSelection()
{
    frmCamelot &window = frmCamelotInstance();
    QCOMPARE(window.windowTitle(), QString("Harmonic Key Mixing"));
    auto *cboKey = control<QComboBox>(&window, "cboKey");
    QStringList keys;
    for (int index = 0; index < cboKey->count(); ++index)
        keys << cboKey->itemText(index);
    QCOMPARE(keys, QStringList({"Abm", "Ebm", "Bbm", "Fm", "Cm", "Gm", "Dm", "Am", "Em", "Bm",
                                "F#m", "Dbm", "B", "F#", "Db", "Ab", "Eb", "Bb", "F", "C", "G",
                                "D", "A", "E"}));
    QVERIFY(!cboKey->isEditable());
    QCOMPARE(cboKey->currentIndex(), -1);
    auto *txtCompatible = control<QLineEdit>(&window, "txtCompatible");
    QVERIFY(txtCompatible->isReadOnly());
    QCOMPARE(txtCompatible->text(), QString());
    auto *chkAlwaysOnTop = control<QCheckBox>(&window, "chkAlwaysOnTop");
    QCOMPARE(chkAlwaysOnTop->text(), QString("&Always on top"));
    QVERIFY(!chkAlwaysOnTop->isChecked());
    QCOMPARE(control<QPushButton>(&window, "cmdOk")->text(), QString("Ok"));
    QCOMPARE(control<QLabel>(&window, "sknlblAllFormLabels_0")->text(),
             QString("Click a wheel space for that key's compatability"));
    QCOMPARE(control<QLabel>(&window, "sknlblAllFormLabels_1")->text(), QString("Music Key:"));
    QCOMPARE(control<QLabel>(&window, "sknlblAllFormLabels_2")->text(), QString("Compatible keys:"));
    QCOMPARE(window.size(), QSize(317, 393));
}

void TestCamelotWindow::pickingFromTheListShowsCompatibleKeys()
{
    frmCamelot &window = frmCamelotInstance();
    auto *cboKey = control<QComboBox>(&window, "cboKey");
    auto *txtCompatible = control<QLineEdit>(&window, "txtCompatible");
    cboKey->setCurrentText("Gm");
    QCOMPARE(txtCompatible->text(), QString("Gm, Cm, Dm, Bb"));
    cboKey->setCurrentText("F#");
    QCOMPARE(txtCompatible->text(), QString("F#, Gb, B, Db, Ebm"));
}

void TestCamelotWindow::clickingAWheelSpaceSelectsItsKey_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("compatible");
    QTest::newRow("12B") << "lblE" << "E" << "E, A, B, Dbm";
    QTest::newRow("1B") << "lblB" << "B" << "B, E, F#, Abm";
    QTest::newRow("2B") << "lblFS" << "F#" << "F#, Gb, B, Db, Ebm";
    QTest::newRow("3B") << "lblDb" << "Db" << "Db, C#, F#, Ab, Bbm";
    QTest::newRow("4B") << "lblAb" << "Ab" << "Ab, G#, Db, Eb, Fm";
    QTest::newRow("5B") << "lblEb" << "Eb" << "Eb, D#, Ab, Bb, Cm";
    QTest::newRow("6B") << "lblBb" << "Bb" << "Bb, A#, Eb, F, Gm";
    QTest::newRow("7B") << "lblF" << "F" << "F, Bb, C, Dm";
    QTest::newRow("8B") << "lblC" << "C" << "C, F, G, Am";
    QTest::newRow("9B") << "lblG" << "G" << "G, C, D, Em";
    QTest::newRow("10B") << "lblD" << "D" << "D, G, A, Bm";
    QTest::newRow("11B") << "lblA" << "A" << "A, D, E, F#m";
    QTest::newRow("12A") << "lblDbm" << "Dbm" << "Dbm, C#m, F#m, Abm, E";
    QTest::newRow("1A") << "lblAbm" << "Abm" << "Abm, G#m, Dbm, Ebm, B";
    QTest::newRow("2A") << "lblEbm" << "Ebm" << "Ebm, D#m, Abm, Bbm, F#";
    QTest::newRow("3A") << "lblBbm" << "Bbm" << "Bbm, A#m, Ebm, Fm, Db";
    QTest::newRow("4A") << "lblFm" << "Fm" << "Fm, Bbm, Cm, Ab";
    QTest::newRow("5A") << "lblCm" << "Cm" << "Cm, Fm, Gm, Eb";
    QTest::newRow("6A") << "lblGm" << "Gm" << "Gm, Cm, Dm, Bb";
    QTest::newRow("7A") << "lblDm" << "Dm" << "Dm, Gm, Am, F";
    QTest::newRow("8A") << "lblAm" << "Am" << "Am, Dm, Em, C";
    QTest::newRow("9A") << "lblEm" << "Em" << "Em, Am, Bm, G";
    QTest::newRow("10A") << "lblBm" << "Bm" << "Bm, Em, F#m, D";
    QTest::newRow("11A") << "lblFSm" << "F#m" << "F#m, Gbm, Bm, Dbm, A";
}

void TestCamelotWindow::clickingAWheelSpaceSelectsItsKey()
{
    QFETCH(QString, label);
    QFETCH(QString, key);
    QFETCH(QString, compatible);
    ShowCamelot();
    frmCamelot &window = frmCamelotInstance();
    auto *picCamelot = control<QLabel>(&window, "picCamelot");
    auto *area = picCamelot->findChild<QWidget *>(label);
    QVERIFY(area);
    // Click where the user would: whatever lies under the area's centre must be the area itself.
    const QPoint centre = area->geometry().center();
    QWidget *hit = picCamelot->childAt(centre);
    QVERIFY(hit);
    QCOMPARE(hit->objectName(), label);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(picCamelot, centre));
    QCOMPARE(control<QComboBox>(&window, "cboKey")->currentText(), key);
    QCOMPARE(control<QLineEdit>(&window, "txtCompatible")->text(), compatible);
}

void TestCamelotWindow::openingTwiceKeepsOneWindowAndItsSelection()
{
    ShowCamelot();
    QPointer<frmCamelot> first = frmCamelotIfLoaded();
    QVERIFY(first);
    control<QComboBox>(first, "cboKey")->setCurrentText("Dbm");
    ShowCamelot();
    QCOMPARE(frmCamelotIfLoaded(), first.data());
    QCOMPARE(openCamelotWindows(), 1);
    QVERIFY(first->isVisible());
    QCOMPARE(control<QComboBox>(first, "cboKey")->currentText(), QString("Dbm"));
    QCOMPARE(control<QLineEdit>(first, "txtCompatible")->text(), QString("Dbm, C#m, F#m, Abm, E"));
}

void TestCamelotWindow::closingUnloadsAndSavesPlacement_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("Ok") << true;
    QTest::newRow("frame") << false;
}

void TestCamelotWindow::closingUnloadsAndSavesPlacement()
{
    QFETCH(bool, byOk);
    int saves = 0;
    HarmonicServices services;
    services.saveFormPosition = [&saves](QWidget *) { ++saves; };
    setHarmonicServices(services);

    ShowCamelot();
    QPointer<frmCamelot> window = frmCamelotIfLoaded();
    control<QComboBox>(window, "cboKey")->setCurrentText("Am");
    control<QCheckBox>(window, "chkAlwaysOnTop")->setChecked(true);
    if (byOk)
        QTest::mouseClick(control<QPushButton>(window, "cmdOk"), Qt::LeftButton);
    else
        window->close();
    flushDeletes();
    QVERIFY(window.isNull());
    QVERIFY(!frmCamelotIfLoaded());
    QCOMPARE(saves, 1);

    // The next opening starts afresh.
    ShowCamelot();
    frmCamelot *again = frmCamelotIfLoaded();
    QVERIFY(again);
    QCOMPARE(control<QComboBox>(again, "cboKey")->currentIndex(), -1);
    QCOMPARE(control<QLineEdit>(again, "txtCompatible")->text(), QString());
    QVERIFY(!control<QCheckBox>(again, "chkAlwaysOnTop")->isChecked());
}

void TestCamelotWindow::loadingSkinsThenPlaces()
{
    QStringList steps;
    HarmonicServices services;
    services.applyProgramSkin = [&steps](QWidget *window) {
        steps << "skin " + window->objectName();
    };
    services.restoreFormPosition = [&steps](QWidget *window) {
        steps << "place " + window->objectName();
        throw std::runtime_error("no registry");
    };
    setHarmonicServices(services);
    ShowCamelot();
    QCOMPARE(steps, QStringList({"skin frmCamelot", "place frmCamelot"}));
    // A placement that fails leaves the window loaded and filled.
    QCOMPARE(control<QComboBox>(frmCamelotIfLoaded(), "cboKey")->count(), 24);
    // Bringing an open window forward loads nothing again.
    ShowCamelot();
    QCOMPARE(steps.size(), 2);
}

void TestCamelotWindow::alwaysOnTopFollowsTheBox()
{
    QStringList calls;
    HarmonicServices services;
    services.setAlwaysOnTop = [&calls](QWidget *) { calls << "set"; };
    services.clearAlwaysOnTop = [&calls](QWidget *) { calls << "clear"; };
    setHarmonicServices(services);
    ShowCamelot();
    auto *box = control<QCheckBox>(frmCamelotIfLoaded(), "chkAlwaysOnTop");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(calls, QStringList({"set", "clear"}));
}

void TestCamelotWindow::alwaysOnTopByDefaultSetsTheWindowFlag()
{
    ShowCamelot();
    frmCamelot *window = frmCamelotIfLoaded();
    auto *box = control<QCheckBox>(window, "chkAlwaysOnTop");
    box->setChecked(true);
    QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window->isVisible());
    box->setChecked(false);
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window->isVisible());
}

void TestCamelotWindow::menuCommandShowsWindowAndRestoresPointer()
{
    std::optional<Qt::CursorShape> pointerWhileLoading;
    HarmonicServices services;
    services.applyProgramSkin = [&pointerWhileLoading](QWidget *) {
        if (const QCursor *cursor = QApplication::overrideCursor())
            pointerWhileLoading = cursor->shape();
    };
    setHarmonicServices(services);
    mnuTools_HarmonicMixing_Click();
    QCOMPARE(pointerWhileLoading, std::optional(Qt::WaitCursor));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(frmCamelotIfLoaded() && frmCamelotIfLoaded()->isVisible());
}

QTEST_MAIN(TestCamelotWindow)
#include "test_CamelotWindow.moc"
