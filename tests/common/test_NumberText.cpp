// SPDX-License-Identifier: GPL-2.0-or-later
// What counts as a number, and how numbers round, everywhere in the program.
#include "common/NumberText.h"
#include <QtTest>

using namespace pulsivar;

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void numeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("digits") << "120" << true;
        QTest::newRow("blanks around") << "  12 " << true;
        QTest::newRow("sign") << "-5" << true;
        QTest::newRow("plus") << "+5" << true;
        QTest::newRow("decimal") << "12.5" << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("trailing point") << "5." << true;
        QTest::newRow("groups") << "1,000" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "   " << false;
        QTest::newRow("point only") << "." << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("letters") << "12a" << false;
        QTest::newRow("comma after point") << "1.2,3" << false;
        QTest::newRow("leading comma") << ",5" << false;
        QTest::newRow("trailing comma") << "5," << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("exponent") << "1e5" << false;
        QTest::newRow("inner blank") << "1 2" << false;
        // Blanks only: a version followed by line feeds is no number.
        QTest::newRow("line feeds around") << "\n600\n\n" << false;
        QTest::newRow("tab before") << "\t12" << false;
    }
    void numeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(isNumeric(text), numeric);
    }

    void roundsHalvesToEven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("127.5") << "127.5" << 128;
        QTest::newRow("126.5") << "126.5" << 126;
        QTest::newRow("12.5") << "12.5" << 12;
        QTest::newRow("-2.5") << "-2.5" << -2;
        QTest::newRow("groups") << "1,234" << 1234;
        QTest::newRow("0.49") << "0.49" << 0;
    }
    void roundsHalvesToEven()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(toInt32(text).value_or(-999999), expected);
    }

    void outOfRangeFails()
    {
        QCOMPARE(toInt16("32767").value_or(0), int16_t(32767));
        QVERIFY(!toInt16("32768"));
        QVERIFY(!toInt16("-32769"));
        QCOMPARE(toInt16("-32768").value_or(0), int16_t(-32768));
        QVERIFY(!toInt32("2147483648"));
        QCOMPARE(toInt32("-2147483648").value_or(0), int32_t(-2147483647 - 1));
        QVERIFY(!toInt32("99999999999999999999999999"));
        QVERIFY(!toInt16("abc"));
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "test_NumberText.moc"
