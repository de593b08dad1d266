// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up offers to write each missing detection module back into the program folder.
#include "app/Startup.h"
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "common/ProcessEnd.h"
#include "detect/SupportDll.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {
const QString failureText = "An error occurred while extracting and writing the DLLs necessary to suport audio "
                            "input BPM detection.\nBPM detection functionality will be disabled.";

QString questionFor(const QString &name)
{
    return "A DLL file '" + name + "' that is necessary to run Pulsivar does not exist in the program installation "
           "folder.\nWould you like Pulsivar to extract and install it for you? \n\nPress Ok to install the missing "
           "file, or press Cancel to disable Audio Input BPM Detection and start the program.";
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    Run()
    {
        resetStartupForTests();
        setProcessEnder([](int) {});
    }
    ~Run()
    {
        setProcessEnder({});
        delete mainWindow();
        resetStartupForTests();
    }
    QString path(const QString &name) const { return QDir(env.programFolder()).filePath(name); }
    void place(const QString &name)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("already here");
    }
    // The prompts of this run, wave files aside.
    QStringList titles() const
    {
        QStringList all;
        for (const MessageRequest &request : messages.requests)
            all << request.title;
        return all;
    }

    TestEnvironment env;
    MessageRecorder messages;
};
} // namespace

class DetectionSupportDllTest : public QObject {
    Q_OBJECT
private slots:
    void bothPresentAsksNothing()
    {
        Run run;
        run.place("fmodex.dll");
        run.place("bpmDetect.dll");
        Main();
        QCOMPARE(run.messages.count(), 0);
        QVERIFY(!mainWindow()->detection().isUnavailable());
        // An existing file is never replaced.
        QCOMPARE(bytesOf(run.path("fmodex.dll")), QByteArray("already here"));
    }

    void bothMissingAndOkWritesTheCarriedModules()
    {
        Run run;
        Main();
        QCOMPARE(run.titles(), (QStringList{"Missing System File: 'fmodex.dll'", "Missing System File: 'bpmDetect.dll'"}));
        const MessageRequest &first = run.messages.requests.first();
        QCOMPARE(first.text, questionFor("fmodex.dll"));
        QCOMPARE(first.icon, MessageIcon::Question);
        QCOMPARE(first.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(!mainWindow()->detection().isUnavailable());
        // Byte for byte the modules built beside the test.
        const QString built = QCoreApplication::applicationDirPath();
        const QByteArray audioInput = bytesOf(run.path("fmodex.dll"));
        QVERIFY(audioInput.size() > 1000);
        QCOMPARE(audioInput, bytesOf(built + "/fmodex.dll"));
        QCOMPARE(bytesOf(run.path("bpmDetect.dll")), bytesOf(built + "/bpmDetect.dll"));
    }

    void cancelOnOneDisablesDetection_data()
    {
        QTest::addColumn<bool>("secondPresent");
        QTest::addColumn<int>("secondAnswer");
        QTest::addColumn<int>("prompts");
        QTest::newRow("second present") << true << int(QMessageBox::Ok) << 1;
        QTest::newRow("second installed") << false << int(QMessageBox::Ok) << 2;
        QTest::newRow("second cancelled too") << false << int(QMessageBox::Cancel) << 2;
    }
    void cancelOnOneDisablesDetection()
    {
        QFETCH(bool, secondPresent);
        QFETCH(int, secondAnswer);
        QFETCH(int, prompts);
        Run run;
        if (secondPresent)
            run.place("bpmDetect.dll");
        run.messages.queueAnswer(QMessageBox::Cancel);
        run.messages.queueAnswer(QMessageBox::StandardButton(secondAnswer));
        Main();
        QCOMPARE(run.messages.count(), prompts);
        QVERIFY(mainWindow()->detection().isUnavailable());
        QVERIFY(!QFile::exists(run.path("fmodex.dll")));
    }

    void closingTheQuestionCountsAsCancel()
    {
        Run run;
        run.messages.queueAnswer(QMessageBox::NoButton);
        QVERIFY(!ExtractSupportDll("fmodex.dll", 101));
        QVERIFY(!QFile::exists(run.path("fmodex.dll")));
    }

    void aFolderWithTheModulesNameFailsTheWrite()
    {
        Run run;
        QVERIFY(QDir(run.env.programFolder()).mkdir("fmodex.dll"));
        QVERIFY(!ExtractSupportDll("fmodex.dll", 101));
        QCOMPARE(run.messages.count(), 2);
        QCOMPARE(run.messages.requests[0].title, QString("Missing System File: 'fmodex.dll'"));
        const MessageRequest &failure = run.messages.last();
        QCOMPARE(failure.title, QString("Couldn't Extract BPM Detection DLLs"));
        QVERIFY2(failure.text.startsWith(failureText + "\nError Description: "), qPrintable(failure.text));
        QVERIFY(failure.text.size() > (failureText + "\nError Description: ").size());
        QCOMPARE(failure.icon, MessageIcon::Warning);
        // The second module is still offered.
        QVERIFY(ExtractSupportDll("bpmDetect.dll", 102));
        QVERIFY(QFileInfo(run.path("bpmDetect.dll")).isFile());
    }

    void aMissingResourceIsReported()
    {
        Run run;
        QVERIFY(!ExtractSupportDll("fmodex.dll", 999));
        QCOMPARE(run.messages.last().title, QString("Couldn't Extract BPM Detection DLLs"));
        QVERIFY(!QFile::exists(run.path("fmodex.dll")));
    }
};

QTEST_MAIN(DetectionSupportDllTest)
#include "test_DetectionSupportDll.moc"
