// SPDX-License-Identifier: GPL-2.0-or-later
// The program's way in and out: settings loaded before the window, saved once at the end.
#include "app/Startup.h"
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "common/ProcessEnd.h"
#include "platform/Registry.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
struct Run {
    Run()
    {
        // The detection modules are in place, so start-up asks nothing about them.
        for (const char *module : {"fmodex.dll", "bpmDetect.dll"}) {
            QFile file(QDir(env.programFolder()).filePath(module));
            file.open(QIODevice::WriteOnly);
        }
        resetStartupForTests();
        setProcessEnder([this](int code) { exitCodes.append(code); });
    }
    ~Run()
    {
        setProcessEnder({});
        delete mainWindow();
        resetStartupForTests();
    }
    QString stored(const QString &name) { return clsRegistry().GetUserSetting(name); }

    TestEnvironment env;
    MessageRecorder messages;
    QList<int> exitCodes;
};
} // namespace

class StartupShutdownTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsTheWindowAndExitWritesEveryDefault()
    {
        Run run;
        Main();
        QVERIFY(mainWindow());
        QVERIFY(mainWindow()->isVisible());
        QCOMPARE(run.messages.count(), 0);
        mainWindow()->findChild<QAction *>("mnuFile_Exit")->trigger();
        QCOMPARE(run.exitCodes, QList<int>{0});
        QVERIFY(programState().bShuttingDown);
        QCOMPARE(run.stored("LASTPROGVERSION"), QString("5.0.70"));
        QCOMPARE(run.stored("ProgramSkin"), QString("101"));
        QCOMPARE(run.stored("BeatColor6"), QString("33023"));
        QCOMPARE(run.stored("BeatsPerMeasure"), QString("4"));
        QCOMPARE(run.stored("AccentBeatConfig"), QString("10000"));
        QCOMPARE(run.stored("MSNUDGEVALUE"), QString("70"));
        QCOMPARE(run.stored("PlayBeatSound"), QString("True"));
        QCOMPARE(run.stored("AutoBPMColor"), QString("255"));
        QCOMPARE(run.stored("AutoBPMInputTimeout"), QString("6"));
    }

    void closingTakesTheNudgeBoxLimitedAtSave_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("stored");
        QTest::newRow("in range") << "120" << "120";
        QTest::newRow("above") << "900" << "300";
        QTest::newRow("below") << "3" << "20";
        QTest::newRow("not a number keeps the setting") << "abc" << "70";
    }
    void closingTakesTheNudgeBoxLimitedAtSave()
    {
        QFETCH(QString, box);
        QFETCH(QString, stored);
        Run run;
        Main();
        mainWindow()->findChild<QLineEdit *>("txtNudgeMS")->setText(box);
        mainWindow()->close();
        QCOMPARE(run.exitCodes.size(), 1);
        QCOMPARE(run.stored("MSNUDGEVALUE"), stored);
    }

    void exitStopsTheMetronomeFirst()
    {
        Run run;
        Main();
        mainWindow()->StartMetronome(500, false, 1);
        mainWindow()->close();
        QVERIFY(!mainWindow()->isMetronomeRunning());
    }

    void upgradeNoticeBeforeTheWindow()
    {
        Run run;
        clsRegistry().SaveUserSetting("LASTPROGVERSION", "5.0.69");
        Main();
        QCOMPARE(run.messages.count(), 1);
        QCOMPARE(run.messages.last().title, QString("Pulsivar Program Upgraded"));
        QCOMPARE(run.stored("LASTPROGVERSION"), QString("5.0.70"));
    }

    void shutdownRunsOnceAndClosesSecondaryWindowsInOrder()
    {
        Run run;
        QStringList closed;
        registerSecondaryWindowCloser([&] { closed << "first"; });
        registerSecondaryWindowCloser([&] { throw 1; });
        registerSecondaryWindowCloser([&] { closed << "third"; });
        Main();
        mainWindow()->close();
        ShutdownProgram();
        QCOMPARE(run.exitCodes.size(), 1);
        // A failing closer is skipped; the next still runs.
        QCOMPARE(closed, (QStringList{"first", "third"}));
    }

    // One box each: at start for settings that cannot be read, at exit for saves that failed.
    void storeProblemsAreToldOnce_data()
    {
        QTest::addColumn<QByteArray>("content"); // none: no home, so no folder for the settings
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<QString>("title");
        QTest::newRow("not understood") << QByteArray("\x01\x02 not settings\n") << false << "Settings Not Read";
        QTest::newRow("no home") << QByteArray() << false << "Settings Not Read";
        QTest::newRow("saves fail") << QByteArray("[SOFTWARE\\Verrowind\\Pulsivar]\n\"LASTPROGVERSION\"=\"5.0.70\"\n")
                                    << true << "Settings Not Saved";
    }
    void storeProblemsAreToldOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, saveFails);
        QFETCH(QString, title);
        Run run;
        const QByteArray home = qgetenv("HOME");
        QDir().mkpath(QFileInfo(run.env.settingsFile()).absolutePath());
        QFile file(run.env.settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        if (content.isEmpty()) {
            qunsetenv("HOME");
            qunsetenv("XDG_CONFIG_HOME");
        }
        Main();
        QCOMPARE(run.messages.count(), saveFails ? 0 : 1);
        // Past 16 bytes every write fails (EFBIG), as on a full disk.
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, full{16, RLIM_INFINITY};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, saveFails ? &full : &unlimited);
        mainWindow()->close();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        qputenv("HOME", home);
        QCOMPARE(run.messages.count(), 1);
        QCOMPARE(run.messages.last().title, title);
        QCOMPARE(run.messages.last().icon, MessageIcon::Warning);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void failedStartBeforeSettingsLeavesStoredSettingsAlone()
    {
        Run run;
        clsRegistry().SaveUserSetting("ProgramSkin", "110");
        programState().settingsLoaded = false;
        ShutdownProgram();
        QCOMPARE(run.exitCodes.size(), 1);
        QCOMPARE(run.stored("ProgramSkin"), QString("110"));
        QCOMPARE(run.stored("LASTPROGVERSION"), QString());
    }
};

QTEST_MAIN(StartupShutdownTest)
#include "test_StartupShutdown.moc"
