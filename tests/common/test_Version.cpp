// SPDX-License-Identifier: GPL-2.0-or-later
// Comparing version texts: the upgrade notice and the update check rest on it.
#include "common/Version.h"
#include <QtTest>

using namespace pulsivar;

class VersionTest : public QObject {
    Q_OBJECT
private slots:
    void texts()
    {
        QCOMPARE(currentVersionString(), QString("5.0.70"));
        QCOMPARE(programTitle(), QString("Pulsivar v5.0"));
    }

    void isNewerVersion_data()
    {
        QTest::addColumn<QString>("oldVersion");
        QTest::addColumn<QString>("newVersion");
        QTest::addColumn<bool>("newer");
        QTest::newRow("revision up") << "5.0.69" << "5.0.70" << true;
        QTest::newRow("same") << "5.0.70" << "5.0.70" << false;
        QTest::newRow("old revision empty") << "5.1" << "5.1.2" << false;
        QTest::newRow("major up") << "4.9.99" << "5.0.0" << true;
        QTest::newRow("downgrade") << "5.0.71" << "5.0.70" << false;
        QTest::newRow("minor up, revision lower") << "5.0.99" << "5.1.0" << true;
        QTest::newRow("minor down") << "5.1.0" << "5.0.99" << false;
        QTest::newRow("numeric compare, not text") << "5.0.9" << "5.0.10" << true;
        QTest::newRow("leading zeros") << "5.0.070" << "5.0.71" << true;
        QTest::newRow("not a version") << "abc" << "5.0.70" << false;
        QTest::newRow("empty old") << "" << "5.0.70" << false;
        QTest::newRow("dots only") << "..." << "5.0.70" << false;
        QTest::newRow("empty major") << ".0.1" << "5.0.70" << false;
        QTest::newRow("major only") << "5" << "6" << true;
        QTest::newRow("major only, same major") << "5" << "5.1" << false;
        QTest::newRow("text after third dot ignored") << "5.0.1.9" << "5.0.2.0" << true;
        QTest::newRow("part beyond 32 bits") << "5.0.99999999999" << "5.0.70" << false;
        QTest::newRow("new part beyond 32 bits") << "5.0.70" << "5.0.99999999999" << false;
        QTest::newRow("huge major") << "99999999999999999999.0.0" << "1.0.0" << false;
        QTest::newRow("case-sensitive equality") << "5.0.70" << "5.0.70 " << false;
    }
    void isNewerVersion()
    {
        QFETCH(QString, oldVersion);
        QFETCH(QString, newVersion);
        QFETCH(bool, newer);
        QCOMPARE(IsNewerVersion(oldVersion, newVersion), newer);
    }
};

QTEST_GUILESS_MAIN(VersionTest)
#include "test_Version.moc"
