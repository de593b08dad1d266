// SPDX-License-Identifier: GPL-2.0-or-later
// The wheel picture and its click areas describe the same spaces.
#include "harmonic/CamelotWheel.h"
#include "harmonic/frmCamelot.h"
#include <QLabel>
#include <QTest>

using namespace pulsivar;

class TestCamelotWheel : public QObject {
    Q_OBJECT

private slots:
    void clickAreaLiesOnItsOwnSpace_data();
    void clickAreaLiesOnItsOwnSpace();
    void pictureIsTheWheelSize();
};

void TestCamelotWheel::clickAreaLiesOnItsOwnSpace_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("outer");
    QTest::addColumn<int>("clock");
    const struct {
        const char *label;
        bool outer;
        int clock;
    } areas[] = {
        {"lblE", true, 12},    {"lblB", true, 1},    {"lblFS", true, 2},   {"lblDb", true, 3},
        {"lblAb", true, 4},    {"lblEb", true, 5},   {"lblBb", true, 6},   {"lblF", true, 7},
        {"lblC", true, 8},     {"lblG", true, 9},    {"lblD", true, 10},   {"lblA", true, 11},
        {"lblDbm", false, 12}, {"lblAbm", false, 1}, {"lblEbm", false, 2}, {"lblBbm", false, 3},
        {"lblFm", false, 4},   {"lblCm", false, 5},  {"lblGm", false, 6},  {"lblDm", false, 7},
        {"lblAm", false, 8},   {"lblEm", false, 9},  {"lblBm", false, 10}, {"lblFSm", false, 11},
    };
    for (const auto &area : areas)
        QTest::newRow(area.label) << QString(area.label) << area.outer << area.clock;
}

void TestCamelotWheel::clickAreaLiesOnItsOwnSpace()
{
    QFETCH(QString, label);
    QFETCH(bool, outer);
    QFETCH(int, clock);
    frmCamelot window;
    auto *picture = window.findChild<QLabel *>("picCamelot");
    QVERIFY(picture);
    auto *area = picture->findChild<QWidget *>(label);
    QVERIFY(area);
    const QPointF centre = QRectF(area->geometry()).center();
    const WheelRing ring = outer ? WheelRing::Outer : WheelRing::Inner;

    QVERIFY2(camelot::wheelSpacePath(ring, clock).contains(centre), qPrintable(label));
    for (WheelRing otherRing : {WheelRing::Inner, WheelRing::Outer}) {
        for (int otherClock = 1; otherClock <= 12; ++otherClock) {
            if (otherRing == ring && otherClock == clock)
                continue;
            QVERIFY2(!camelot::wheelSpacePath(otherRing, otherClock).contains(centre),
                     qPrintable(QString("%1 also on %2").arg(label).arg(otherClock)));
        }
    }
    // The space's writing sits in the space too, so the picture labels what the click selects.
    QVERIFY(camelot::wheelSpacePath(ring, clock).contains(camelot::wheelSpaceTextCentre(ring, clock)));
    const MusicKeyRow &row = musicKeyAt(ring, clock);
    QCOMPARE(QString::fromLatin1(row.labelName), label);
}

void TestCamelotWheel::pictureIsTheWheelSize()
{
    const QImage image = camelot::renderCamelotWheel();
    QCOMPARE(image.size(), QSize(300, 300));
    // The top space is drawn, the corner is left clear for the window behind.
    QVERIFY(qAlpha(image.pixel(150, 20)) == 255);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

QTEST_MAIN(TestCamelotWheel)
#include "test_CamelotWheel.moc"
