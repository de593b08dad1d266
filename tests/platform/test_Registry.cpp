// SPDX-License-Identifier: GPL-2.0-or-later
// The settings store's observable rules, on the per-user text file.
#include "platform/FileRegistryBackend.h"
#include "platform/Registry.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QStringEncoder>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class RegistryTest : public QObject {
    Q_OBJECT
private slots:
    void firstSaveCreatesTheApplicationKeyFile()
    {
        TestEnvironment env;
        clsRegistry registry;
        QVERIFY(!QFile::exists(env.settingsFile()));
        registry.SaveUserSetting("ProgramSkin", "103");
        QVERIFY(QFile::exists(env.settingsFile()));
        QVERIFY(readFile(env.settingsFile()).contains("[SOFTWARE\\Verrowind\\Pulsivar]\n\"ProgramSkin\"=\"103\""));
        QCOMPARE(registry.GetUserSetting("ProgramSkin"), QString("103"));
    }

    void emptyValueIsStoredAsOneSpaceAndReadsBackEmpty()
    {
        TestEnvironment env;
        clsRegistry registry;
        registry.SaveUserSetting("AccentBeatConfig", "");
        QString raw;
        QVERIFY(registry.GetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "AccentBeatConfig", raw));
        QCOMPARE(raw, QString(" "));
        QCOMPARE(registry.GetUserSetting("AccentBeatConfig"), QString());
    }

    void userReadsAreTrimmedGlobalReadsAreNot()
    {
        TestEnvironment env;
        clsRegistry registry;
        registry.SaveUserSetting("Value", "  12 ");
        QCOMPARE(registry.GetUserSetting("Value"), QString("12"));
        registry.SaveGlobalSetting("SOFTWARE\\Other", "Value", "  12 ");
        QCOMPARE(registry.GetGlobalSetting("SOFTWARE\\Other", "Value"), QString("  12 "));
        registry.SaveClassRootSetting(".wav", "Kind", " x ");
        QCOMPARE(registry.GetClassRootSetting(".wav", "Kind"), QString(" x "));
        // Other roots live in files of their own.
        QVERIFY(!readFile(env.settingsFile()).contains("Other"));
    }

    void missingValuesReadEmpty()
    {
        TestEnvironment env;
        clsRegistry registry;
        QCOMPARE(registry.GetUserSetting("Nothing"), QString());
        QString value = "unchanged";
        QVERIFY(!registry.GetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "Nothing", value));
        QCOMPARE(value, QString());
    }

    void emptyNamesAreRefusedWithoutWriting()
    {
        TestEnvironment env;
        clsRegistry registry;
        QVERIFY(!registry.SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "", "x"));
        QVERIFY(!registry.SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), "", "Name", "x"));
        QVERIFY(!QFile::exists(env.settingsFile()));
    }

    void longValuesDoNotReadBack()
    {
        TestEnvironment env;
        clsRegistry registry;
        registry.SaveUserSetting("Fits", QString(1023, 'a'));
        registry.SaveUserSetting("TooLong", QString(1024, 'a'));
        QCOMPARE(registry.GetUserSetting("Fits").size(), 1023);
        QCOMPARE(registry.GetUserSetting("TooLong"), QString());
        QCOMPARE(registry.GetFormPositionTop("TooLong", 7), 7);
    }

    void numberTypedValuesReadAsSignedDecimal_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("70") << QByteArray("dword:00000046") << "70";
        QTest::newRow("255") << QByteArray("dword:000000ff") << "255";
        QTest::newRow("-1") << QByteArray("dword:ffffffff") << "-1";
    }
    void numberTypedValuesReadAsSignedDecimal()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, expected);
        TestEnvironment env;
        writeFile(env.settingsFile(), "[SOFTWARE\\Verrowind\\Pulsivar]\n\"N\"=" + stored + "\n");
        QCOMPARE(clsRegistry().GetUserSetting("N"), expected);
    }

    void placementValues()
    {
        TestEnvironment env;
        clsRegistry registry;
        QCOMPARE(registry.GetFormPositionWidth("frmCamelot", 4800), 4800);
        registry.SaveFormPositionWidth("frmCamelot", 5000);
        QCOMPARE(registry.GetFormPositionWidth("frmCamelot", 4800), 5000);
        registry.SaveUserSetting("frmCamelotWidth", "wide");
        QCOMPARE(registry.GetFormPositionWidth("frmCamelot", 4800), 0);
        registry.SaveFormPositionTop("frmUndocked", -300);
        QCOMPARE(registry.GetUserSetting("frmUndockedTop"), QString("-300"));
        QCOMPARE(registry.GetFormPositionTop("frmUndocked", 0), -300);
    }

    void deleteValue()
    {
        TestEnvironment env;
        clsRegistry registry;
        registry.SaveUserSetting("Gone", "1");
        QVERIFY(registry.DeleteApplicationValue(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "Gone"));
        QVERIFY(!registry.DeleteApplicationValue(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "Gone"));
        QCOMPARE(registry.GetUserSetting("Gone"), QString());
    }

    void textSurvivesQuotesBackslashesAndLineBreaks()
    {
        TestEnvironment env;
        clsRegistry registry;
        const QString awkward = "a \"quoted\" C:\\path\\\nnext line";
        registry.SaveUserSetting("Awkward", awkward);
        QCOMPARE(registry.GetUserSetting("Awkward"), awkward);
    }

    // Read whatever its line ends and Unicode form; a file that cannot be read whole is never
    // replaced, as it may be the user's only copy of something.
    void whatAFileHoldsDecidesWhetherItIsRead_data()
    {
        QTest::addColumn<QByteArray>("content"); // none: a folder takes the file's place
        QTest::addColumn<bool>("read");
        const QString lines = "[SOFTWARE\\Verrowind\\Pulsivar]\r\n\"ProgramSkin\"=\"103\"\r\n";
        const auto utf16 = [&lines](QStringConverter::Encoding encoding, QStringConverter::Flag mark) {
            return QByteArray(QStringEncoder(encoding, mark)(lines));
        };
        QTest::newRow("CR") << QString(lines).remove('\n').toUtf8() << true;
        QTest::newRow("UTF-8 marked") << "\xEF\xBB\xBF" + lines.toUtf8() << true;
        QTest::newRow("UTF-16LE marked") << utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom) << true;
        QTest::newRow("UTF-16BE unmarked") << utf16(QStringConverter::Utf16BE, QStringConverter::Flag::Default) << true;
        QTest::newRow("binary") << QByteArray(4096, '\xfe') + QByteArray(16, '\0') << false;
        QTest::newRow("someone else's text") << QByteArray("root:x:0:0:root:/root:/bin/bash\n") << false;
        QTest::newRow("a value before any key") << QByteArray("\"ProgramSkin\"=\"103\"\n[SOFTWARE\\Verrowind\\Pulsivar]\n") << false;
        QTest::newRow("one garbled line") << (lines + "\"X\"=4\n").toUtf8() << false;
        QTest::newRow("larger than 16 MB") << QByteArray(16 * 1024 * 1024 + 1, ';') << false;
        QTest::newRow("a folder") << QByteArray() << false;
    }
    void whatAFileHoldsDecidesWhetherItIsRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, read);
        TestEnvironment env;
        if (content.isEmpty())
            QDir().mkpath(env.settingsFile());
        else
            writeFile(env.settingsFile(), content);
        clsRegistry registry;
        QCOMPARE(registry.GetUserSetting("ProgramSkin"), QString(read ? "103" : ""));
        QCOMPARE(registry.SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "BeatsPerMeasure", "3"), read);
        const QByteArray saved = readFile(env.settingsFile());
        if (read)
            QVERIFY(saved.contains("\"ProgramSkin\"=\"103\"") && saved.contains("\"BeatsPerMeasure\"=\"3\""));
        else
            QVERIFY(content.isEmpty() ? QFileInfo(env.settingsFile()).isDir() : saved == content);
        QCOMPARE(bool(takeSettingsReadProblem()), !read);
        QVERIFY(!takeSettingsReadProblem() && !takeSettingsSaveProblem());
    }

    void savesNeverWriteThroughAForeignLink_data()
    {
        QTest::addColumn<QByteArray>("target"); // none: the link leads nowhere
        QTest::addColumn<bool>("followed");
        QTest::newRow("to someone else's file") << QByteArray("root:x:0:0:root:/root:/bin/bash\n") << false;
        QTest::newRow("to nothing") << QByteArray() << false;
        QTest::newRow("to settings of ours") << QByteArray("[SOFTWARE\\Verrowind\\Pulsivar]\n\"ProgramSkin\"=\"103\"\n") << true;
    }
    void savesNeverWriteThroughAForeignLink()
    {
        QFETCH(QByteArray, target);
        QFETCH(bool, followed);
        TestEnvironment env;
        const QString targetPath = env.configFolder() + "/elsewhere/file";
        QDir().mkpath(env.configFolder() + "/elsewhere");
        QDir().mkpath(env.configFolder() + "/Verrowind");
        if (!target.isEmpty())
            writeFile(targetPath, target);
        QVERIFY(QFile::link(targetPath, env.settingsFile()));
        clsRegistry registry;
        QCOMPARE(registry.GetUserSetting("ProgramSkin"), QString(followed ? "103" : ""));
        registry.SaveUserSetting("BeatsPerMeasure", "3");
        QCOMPARE(QFileInfo(env.settingsFile()).isSymLink(), followed);
        QVERIFY(readFile(env.settingsFile()).contains("\"BeatsPerMeasure\"=\"3\""));
        if (!followed)
            QCOMPARE(readFile(targetPath), target);
        QCOMPARE(QFile::exists(targetPath), !target.isEmpty());
    }

    // A relative XDG_CONFIG_HOME would depend on the folder the program was started from.
    void settingsFolderFollowsTheXdgRules_data()
    {
        QTest::addColumn<QString>("configHome"); // "@" stands for a fresh folder
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("file");       // none: the settings have no place
        QTest::newRow("absolute") << "@/xdg" << "@" << "@/xdg/Verrowind/Pulsivar.conf";
        QTest::newRow("relative ignored") << "xdg" << "@" << "@/.config/Verrowind/Pulsivar.conf";
        QTest::newRow("relative, no home") << "xdg" << "" << "";
        QTest::newRow("relative home") << "" << "home" << "";
    }
    void settingsFolderFollowsTheXdgRules()
    {
        QFETCH(QString, configHome);
        QFETCH(QString, home);
        QFETCH(QString, file);
        TestEnvironment env;
        const QString fresh = env.programFolder(), started = QDir::currentPath();
        const QByteArray previousHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", configHome.replace('@', fresh).toLocal8Bit());
        qputenv("HOME", home.replace('@', fresh).toLocal8Bit());
        QDir::setCurrent(fresh);
        clsRegistry().SaveUserSetting("ProgramSkin", "103");
        const auto problem = takeSettingsReadProblem();
        QDir::setCurrent(started);
        qputenv("HOME", previousHome);
        QCOMPARE(bool(problem), file.isEmpty());
        QStringList written;
        for (QDirIterator it(fresh, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            written << it.next();
        QCOMPARE(written, file.isEmpty() ? QStringList() : QStringList{file.replace('@', fresh)});
    }

    void batchWritesOnce()
    {
        TestEnvironment env;
        clsRegistry registry;
        registry.SaveUserSetting("A", "old");
        {
            const RegistryBatch batch;
            registry.SaveUserSetting("A", "new");
            registry.SaveUserSetting("B", "new");
            // Nothing reaches the disk before the batch ends...
            QVERIFY(!readFile(env.settingsFile()).contains("new"));
            // ...but reads inside it see the pending values.
            QCOMPARE(registry.GetUserSetting("A"), QString("new"));
        }
        QCOMPARE(registry.GetUserSetting("A"), QString("new"));
        QCOMPARE(registry.GetUserSetting("B"), QString("new"));
    }

    void honestPlatformAnswers()
    {
        TestEnvironment env;
        clsRegistry registry;
        QVERIFY(!registry.IsOsVersionWinNT());
        int32_t major = -5, minor = 0, buildNumber = 0, platform = 0;
        QVERIFY(registry.GetOsVersion(major, minor, buildNumber, platform));
        QVERIFY(major >= 0);
        QVERIFY(registry.UsersTemporaryPath().endsWith('/'));
        QVERIFY(QDir(registry.UsersLocalDataPath()).exists());
    }
};

QTEST_GUILESS_MAIN(RegistryTest)
#include "test_Registry.moc"
