// SPDX-License-Identifier: GPL-2.0-or-later
// Looking up the keys that mix well with a key.
#include "harmonic/MusicKeyTable.h"
#include <QTest>

using pulsivar::CompatableMusicKeys;

class TestMusicKeys : public QObject {
    Q_OBJECT

private slots:
    void compatibleKeys_data();
    void compatibleKeys();
};

void TestMusicKeys::compatibleKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("compatible");
    const struct {
        const char *primary;
        const char *alias;
        const char *compatible;
    } rows[] = {
        {"Abm", "G#m", "Abm, G#m, Dbm, Ebm, B"}, {"Ebm", "D#m", "Ebm, D#m, Abm, Bbm, F#"},
        {"Bbm", "A#m", "Bbm, A#m, Ebm, Fm, Db"}, {"Fm", nullptr, "Fm, Bbm, Cm, Ab"},
        {"Cm", nullptr, "Cm, Fm, Gm, Eb"},       {"Gm", nullptr, "Gm, Cm, Dm, Bb"},
        {"Dm", nullptr, "Dm, Gm, Am, F"},        {"Am", nullptr, "Am, Dm, Em, C"},
        {"Em", nullptr, "Em, Am, Bm, G"},        {"Bm", nullptr, "Bm, Em, F#m, D"},
        {"F#m", "Gbm", "F#m, Gbm, Bm, Dbm, A"},  {"Dbm", "C#m", "Dbm, C#m, F#m, Abm, E"},
        {"B", nullptr, "B, E, F#, Abm"},         {"F#", "Gb", "F#, Gb, B, Db, Ebm"},
        {"Db", "C#", "Db, C#, F#, Ab, Bbm"},     {"Ab", "G#", "Ab, G#, Db, Eb, Fm"},
        {"Eb", "D#", "Eb, D#, Ab, Bb, Cm"},      {"Bb", "A#", "Bb, A#, Eb, F, Gm"},
        {"F", nullptr, "F, Bb, C, Dm"},          {"C", nullptr, "C, F, G, Am"},
        {"G", nullptr, "G, C, D, Em"},           {"D", nullptr, "D, G, A, Bm"},
        {"A", nullptr, "A, D, E, F#m"},          {"E", nullptr, "E, A, B, Dbm"},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.primary) << QString(row.primary) << QString(row.compatible);
        if (row.alias)
            QTest::newRow(row.alias) << QString(row.alias) << QString(row.compatible);
    }

    // Blanks are ignored anywhere.
    QTest::newRow("before") << "  Abm" << "Abm, G#m, Dbm, Ebm, B";
    QTest::newRow("after") << "G#m   " << "Abm, G#m, Dbm, Ebm, B";
    QTest::newRow("inside") << "A b m" << "Abm, G#m, Dbm, Ebm, B";
    QTest::newRow("everywhere") << " G # m " << "Abm, G#m, Dbm, Ebm, B";
    QTest::newRow("alias with blank") << "G b" << "F#, Gb, B, Db, Ebm";
    QTest::newRow("minor alias") << "Gb m" << "F#m, Gbm, Bm, Dbm, A";
    QTest::newRow("single letter") << " E " << "E, A, B, Dbm";

    // Anything else is no key.
    QTest::newRow("lower case") << "abm" << QString();
    QTest::newRow("upper case") << "ABM" << QString();
    QTest::newRow("lower-case major") << "e" << QString();
    QTest::newRow("Cb") << "Cb" << QString();
    QTest::newRow("E#") << "E#" << QString();
    QTest::newRow("Fb") << "Fb" << QString();
    QTest::newRow("B#") << "B#" << QString();
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("only blanks") << "   " << QString();
    QTest::newRow("tab is no blank") << "Abm\t" << QString();
    QTest::newRow("two keys") << "Abm, B" << QString();
    QTest::newRow("code, not key") << "12B" << QString();
    QTest::newRow("written out") << "E Major" << QString();
}

void TestMusicKeys::compatibleKeys()
{
    QFETCH(QString, key);
    QFETCH(QString, compatible);
    QCOMPARE(CompatableMusicKeys(key), compatible);
}

QTEST_GUILESS_MAIN(TestMusicKeys)
#include "test_MusicKeys.moc"
