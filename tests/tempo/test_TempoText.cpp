// SPDX-License-Identifier: GPL-2.0-or-later
// Tempo texts, the comparison line and the typing filter.
#include "tempo/TempoText.h"
#include <QtTest>

using namespace pulsivar;

class TempoTextTest : public QObject {
    Q_OBJECT
private slots:
    void tempoOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tempo");
        QTest::newRow("127.5") << "127.5" << 128;
        QTest::newRow("126.5") << "126.5" << 126;
        QTest::newRow("groups") << "1,20" << 120;
        QTest::newRow("not numeric") << "12x" << -1;
        QTest::newRow("beyond 16 bits") << "40000" << -1;
    }
    void tempoOfText()
    {
        QFETCH(QString, text);
        QFETCH(int, tempo);
        const auto value = pulsivar::tempoOfText(text);
        QCOMPARE(value ? int(*value) : -1, tempo);
    }

    void formatPercent_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("7.69") << 7.6923076 << "7.69";
        QTest::newRow("50.") << 50.0 << "50.";
        QTest::newRow(".4") << 0.4 << ".4";
        QTest::newRow("trailing zero dropped") << 12.5 << "12.5";
        QTest::newRow("rounds") << 33.333333 << "33.33";
        QTest::newRow("rounds up into the whole") << 9.999 << "10.";
        QTest::newRow("hundred") << 100.0 << "100.";
    }
    void formatPercent()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(pulsivar::formatPercent(value), text);
    }

    void comparison_data()
    {
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("text");
        QTest::newRow("both empty") << "" << "" << "Enter a tempo for Channels 1 & 2";
        QTest::newRow("only two") << "" << "120" << "Enter a tempo for Channel 1";
        QTest::newRow("only one") << "120" << "" << "Enter a tempo for Channel 2";
        QTest::newRow("not numeric") << "abc" << "120" << "Enter a tempo for Channel 1";
        QTest::newRow("same") << "128" << "128" << "Channel 1 has the SAME TEMPO as Channel 2";
        QTest::newRow("faster") << "130" << "120" << "Channel 1 is 7.69% FASTER than Channel 2";
        QTest::newRow("slower") << "120" << "130" << "Channel 1 is 7.69% SLOWER than Channel 2";
        QTest::newRow("double") << "100" << "50" << "Channel 1 is 50.% FASTER than Channel 2";
        QTest::newRow("close") << "250" << "249" << "Channel 1 is .4% FASTER than Channel 2";
        QTest::newRow("zero against tempo") << "0" << "120" << "Channel 1 is 100.% SLOWER than Channel 2";
    }
    void comparison()
    {
        QFETCH(QString, one);
        QFETCH(QString, two);
        QFETCH(QString, text);
        QCOMPARE(percentDifferenceText(one, two), text);
    }

    void keyFilter()
    {
        for (int key = 0; key < 256; ++key) {
            const bool passes = (key >= '0' && key <= '9') || key == 8 || key == 9 || key == ',' || key == 13 || key == 27;
            QCOMPARE(numericKeyPasses(key), passes);
        }
    }
};

QTEST_GUILESS_MAIN(TempoTextTest)
#include "test_TempoText.moc"
