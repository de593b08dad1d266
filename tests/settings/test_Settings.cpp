// SPDX-License-Identifier: GPL-2.0-or-later
// Loading every setting over its default, the upgrade notice, and the saved order and formats.
#include "settings/ProgramState.h"
#include "settings/Settings.h"
#include "platform/Registry.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QtTest>
#include <sys/inotify.h>
#include <unistd.h>

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
        QTest::newRow("click output default") << "ClickOutputDevice" << "" << "";
        QTest::newRow("link on") << "AbletonLinkEnabled" << "True" << "true";
        QTest::newRow("midi clock port") << "MidiClockOutPort" << "Pulsivar clock" << "Pulsivar clock";
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
            {"ClickOutputDevice", s.ClickOutputDevice},
            {"AbletonLinkEnabled", s.AbletonLinkEnabled ? "true" : "false"},
            {"MidiClockOutPort", s.MidiClockOutPort},
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
        settings().ClickOutputDevice = "Headphones (USB)";
        SaveSettings();
        LoadSettings();
        QCOMPARE(settings().ClickOutputDevice, QString("Headphones (USB)"));
        QCOMPARE(settings().ProgramSkin, int16_t(110));
        QCOMPARE(settings().BeatsPerMeasure, int16_t(7));
        QCOMPARE(settings().BeatColor7, 1234567);
        QCOMPARE(settings().AccentBeatConfig, QString("1001001"));
        QCOMPARE(settings().AutoBPMInputTimeout, int16_t(32767));
    }

    void garbledFileGivesDefaultsAndIsLeftAlone()
    {
        TestEnvironment env;
        QDir().mkpath(QFileInfo(env.settingsFile()).absolutePath());
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray garbled = QByteArray(4096, '\xfe') + "\n[SOFTWARE\\Verrowind\\Pulsivar\n\"ProgramSkin\"=\"1";
        file.write(garbled);
        file.close();
        startWith({});
        LoadSettings();
        QCOMPARE(settings().ProgramSkin, int16_t(101));
        SaveSettings();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbled);
    }

    // However many values there are, a start reads the file once and an exit writes it once.
    void loadReadsTheFileOnceAndSaveWritesItOnce()
    {
        TestEnvironment env;
        QDir().mkpath(QFileInfo(env.settingsFile()).absolutePath());
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[SOFTWARE\\Verrowind\\Pulsivar]\n\"LASTPROGVERSION\"=\"5.0.70\"\n");
        file.close();
        startWith({});
        const int watcher = inotify_init1(IN_NONBLOCK);
        const auto count = [watcher](uint32_t mask) {
            alignas(inotify_event) char buffer[4096];
            int events = 0;
            for (ssize_t got; (got = read(watcher, buffer, sizeof buffer)) > 0;) {
                for (auto *at = buffer; at < buffer + got; at += sizeof(inotify_event) + reinterpret_cast<inotify_event *>(at)->len)
                    events += (reinterpret_cast<inotify_event *>(at)->mask & mask) != 0;
            }
            return events;
        };
        // Closes are watched too, or inotify would merge the opens that follow each other.
        inotify_add_watch(watcher, QFile::encodeName(env.settingsFile()).constData(), IN_OPEN | IN_CLOSE);
        LoadSettings();
        QCOMPARE(count(IN_OPEN), 1);
        inotify_add_watch(watcher, QFile::encodeName(QFileInfo(env.settingsFile()).path()).constData(), IN_MOVED_TO);
        SaveSettings();
        QCOMPARE(count(IN_MOVED_TO), 1);
        close(watcher);
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
