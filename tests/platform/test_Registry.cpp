// The settings store's observable rules, on the per-user text file.
#include "platform/FileRegistryBackend.h"
#include "platform/Registry.h"
#include "TestEnvironment.h"

#include <QFile>
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

    void garbageFilesReadAsEmptyAndAreReplacedOnWrite()
    {
        TestEnvironment env;
        QByteArray garbage;
        for (int i = 0; i < 200000; ++i)
            garbage.append(char((i * 7919 + 13) % 256));
        writeFile(env.settingsFile(), garbage);
        clsRegistry registry;
        QCOMPARE(registry.GetUserSetting("ProgramSkin"), QString());
        registry.SaveUserSetting("ProgramSkin", "105");
        QCOMPARE(registry.GetUserSetting("ProgramSkin"), QString("105"));
        QVERIFY(readFile(env.settingsFile()).size() < 1000);
    }

    void unwritableStoreFailsQuietly()
    {
        TestEnvironment env;
        // The settings file's place is taken by a folder.
        QDir().mkpath(env.settingsFile());
        clsRegistry registry;
        QVERIFY(!registry.SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), applicationKey, "X", "1"));
        registry.SaveUserSetting("X", "1");
        QCOMPARE(registry.GetUserSetting("X"), QString());
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
