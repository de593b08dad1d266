// Loading every setting over its default, the upgrade notice, and the saved order and formats.
#include "app/state/ProgramState.h"
#include "app/state/Settings.h"
#include "platform/Registry.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
void startWith(const QList<QPair<QString, QString>> &stored)
{
    clsRegistry registry;
    for (const auto &[name, value] : stored)
        registry.SaveUserSetting(name, value);
    programState().oRegistry = std::make_unique<clsRegistry>();
}
} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunHasEveryDefaultAndNoNotice()
    {
        TestEnvironment env;
        MessageRecorder messages;
        startWith({});
        LoadSettings();
        const ProgramSettings &s = settings();
        QCOMPARE(s.ProgramSkin, int16_t(101));
        QCOMPARE(s.BeatColor1, 255);
        QCOMPARE(s.BeatColor2, 16711680);
        QCOMPARE(s.BeatColor3, 65280);
        QCOMPARE(s.BeatColor4, 65535);
        QCOMPARE(s.BeatColor5, 16711935);
        QCOMPARE(s.BeatColor6, 33023);
        QCOMPARE(s.BeatColor7, 12632256);
        QCOMPARE(s.BeatsPerMeasure, int16_t(4));
        QCOMPARE(s.AccentBeatConfig, QString("10000"));
        QCOMPARE(s.PlayBeatSound, true);
        QCOMPARE(s.MSNUDGEVALUE, int16_t(70));
        QCOMPARE(s.AutoBPMColor, 255);
        QCOMPARE(s.AutoBPMInputTimeout, int16_t(6));
        QCOMPARE(messages.count(), 0);
        QVERIFY(!QFile::exists(env.settingsFile()));
    }

    void conversions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("nudge below") << "MSNUDGEVALUE" << "5" << "20";
        QTest::newRow("nudge above") << "MSNUDGEVALUE" << "1000" << "300";
        QTest::newRow("nudge text") << "MSNUDGEVALUE" << "fast" << "70";
        QTest::newRow("nudge beyond 16 bits") << "MSNUDGEVALUE" << "70000" << "70";
        QTest::newRow("nudge 150") << "MSNUDGEVALUE" << "150" << "150";
        QTest::newRow("sound false") << "PlayBeatSound" << "fAlSe" << "false";
        QTest::newRow("sound 0") << "PlayBeatSound" << "0" << "false";
        QTest::newRow("sound -1") << "PlayBeatSound" << "-1" << "true";
        QTest::newRow("sound 7") << "PlayBeatSound" << "7" << "true";
        QTest::newRow("sound word") << "PlayBeatSound" << "yes" << "true";
        QTest::newRow("colour half to even") << "BeatColor3" << "12.5" << "12";
        QTest::newRow("colour beyond 32 bits") << "BeatColor3" << "4294967296" << "65280";
        QTest::newRow("colour text") << "BeatColor3" << "green" << "65280";
        QTest::newRow("beats taken unchecked") << "BeatsPerMeasure" << "12" << "12";
        QTest::newRow("beats beyond 16 bits") << "BeatsPerMeasure" << "40000" << "4";
        QTest::newRow("skin unchecked") << "ProgramSkin" << "250" << "250";
        QTest::newRow("accents unchanged") << "AccentBeatConfig" << "0101" << "0101";
        QTest::newRow("accents empty") << "AccentBeatConfig" << "" << "10000";
        QTest::newRow("detection colour") << "AutoBPMColor" << "65280" << "65280";
        QTest::newRow("timeout") << "AutoBPMInputTimeout" << "32767" << "32767";
        QTest::newRow("grouped number") << "AutoBPMColor" << "16,711,680" << "16711680";
    }
    void conversions()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, loaded);
        TestEnvironment env;
        startWith({{name, stored}});
        LoadSettings();
        const ProgramSettings &s = settings();
        const QMap<QString, QString> fields{
            {"MSNUDGEVALUE", QString::number(s.MSNUDGEVALUE)},
            {"PlayBeatSound", s.PlayBeatSound ? "true" : "false"},
            {"BeatColor3", QString::number(s.BeatColor3)},
            {"BeatsPerMeasure", QString::number(s.BeatsPerMeasure)},
            {"ProgramSkin", QString::number(s.ProgramSkin)},
            {"AccentBeatConfig", s.AccentBeatConfig},
            {"AutoBPMColor", QString::number(s.AutoBPMColor)},
            {"AutoBPMInputTimeout", QString::number(s.AutoBPMInputTimeout)},
        };
        QCOMPARE(fields.value(name), loaded);
    }

    void upgradeNoticeShowsOnceAndStoresAtOnce()
    {
        TestEnvironment env;
        MessageRecorder messages;
        startWith({{"LASTPROGVERSION", "5.0.69"}});
        LoadSettings();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QString("Pulsivar Program Upgraded"));
        QCOMPARE(messages.last().text,
                 QString("Congratulations - Your Pulsivar program has successfully been upgraded!   \n\n"
                         "The previous version was  5.0.69\nThe current version is  5.0.70"));
        QCOMPARE(messages.last().icon, MessageIcon::Information);
        QCOMPARE(messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(clsRegistry().GetUserSetting("LASTPROGVERSION"), QString("5.0.70"));
        LoadSettings();
        QCOMPARE(messages.count(), 1);
    }

    void downgradeAndNonsenseShowNothing_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("newer") << "5.1.0";
        QTest::newRow("same") << "5.0.70";
        QTest::newRow("word") << "beta";
    }
    void downgradeAndNonsenseShowNothing()
    {
        QFETCH(QString, stored);
        TestEnvironment env;
        MessageRecorder messages;
        startWith({{"LASTPROGVERSION", stored}});
        LoadSettings();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(clsRegistry().GetUserSetting("LASTPROGVERSION"), stored);
    }

    void saveWritesEveryValueInOrderAndFormat()
    {
        TestEnvironment env;
        startWith({});
        LoadSettings();
        settings().BeatColor2 = 16711680;
        settings().PlayBeatSound = false;
        settings().MSNUDGEVALUE = 500;
        settings().AccentBeatConfig = "";
        SaveSettings();
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(file.readAll());
        const QStringList expected{
            "\"ProgramSkin\"=\"101\"", "\"BeatColor1\"=\"255\"", "\"BeatColor2\"=\"16711680\"",
            "\"BeatColor3\"=\"65280\"", "\"BeatColor4\"=\"65535\"", "\"BeatColor5\"=\"16711935\"",
            "\"BeatColor6\"=\"33023\"", "\"BeatColor7\"=\"12632256\"", "\"BeatsPerMeasure\"=\"4\"",
            "\"AccentBeatConfig\"=\" \"", "\"LASTPROGVERSION\"=\"5.0.70\"", "\"MSNUDGEVALUE\"=\"300\"",
            "\"PlayBeatSound\"=\"False\"", "\"AutoBPMColor\"=\"255\"", "\"AutoBPMInputTimeout\"=\"6\""};
        qsizetype position = 0;
        for (const QString &line : expected) {
            const qsizetype found = content.indexOf(line, position);
            QVERIFY2(found >= 0, qPrintable("missing or out of order: " + line));
            position = found;
        }
        QCOMPARE(settings().MSNUDGEVALUE, int16_t(300));
    }

    void savedValuesLoadBack()
    {
        TestEnvironment env;
        startWith({});
        LoadSettings();
        settings().ProgramSkin = 110;
        settings().BeatsPerMeasure = 7;
        settings().BeatColor7 = 1234567;
        settings().AccentBeatConfig = "1001001";
        settings().AutoBPMInputTimeout = 32767;
        SaveSettings();
        LoadSettings();
        QCOMPARE(settings().ProgramSkin, int16_t(110));
        QCOMPARE(settings().BeatsPerMeasure, int16_t(7));
        QCOMPARE(settings().BeatColor7, 1234567);
        QCOMPARE(settings().AccentBeatConfig, QString("1001001"));
        QCOMPARE(settings().AutoBPMInputTimeout, int16_t(32767));
    }

    void garbledFileGivesDefaultsAndIsReplacedAtSave()
    {
        TestEnvironment env;
        QDir().mkpath(QFileInfo(env.settingsFile()).absolutePath());
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\xfe') + "\n[SOFTWARE\\Verrowind\\Pulsivar\n\"ProgramSkin\"=\"1");
        file.close();
        startWith({});
        LoadSettings();
        QCOMPARE(settings().ProgramSkin, int16_t(101));
        SaveSettings();
        LoadSettings();
        QCOMPARE(settings().ProgramSkin, int16_t(101));
        QVERIFY(QFileInfo(env.settingsFile()).size() < 4096);
    }

    void accentRule()
    {
        ProgramSettings s;
        s.AccentBeatConfig = "0101";
        QVERIFY(!s.isAccentBeat(1));
        QVERIFY(s.isAccentBeat(2));
        QVERIFY(!s.isAccentBeat(3));
        QVERIFY(s.isAccentBeat(4));
        QVERIFY(!s.isAccentBeat(5));
        QVERIFY(!s.isAccentBeat(0));
        QVERIFY(!s.isAccentBeat(9));
    }
};

QTEST_MAIN(SettingsTest)
#include "test_Settings.moc"
