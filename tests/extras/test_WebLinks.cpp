// SPDX-License-Identifier: GPL-2.0-or-later
// Opening files and web addresses through the desktop, and the words for the shell's failures.
#include "extras/WebLinks.h"

#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

using namespace pulsivar;

class WebLinksTest : public QObject {
    Q_OBJECT

    QList<ShellOpenRequest> opened;
    int32_t nextResult = shellOpened;

private slots:
    void init()
    {
        opened.clear();
        nextResult = shellOpened;
        setShellOpener([this](const ShellOpenRequest &request) {
            opened.append(request);
            return nextResult;
        });
    }
    void cleanup() { setShellOpener({}); }

    void webAddressGetsSchemeOnlyWhenItHasNone_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("passed");
        QTest::addColumn<QString>("url");
        QTest::newRow("bare host") << "example.com" << "http://example.com" << "http://example.com";
        QTest::newRow("bare host and path") << "example.com/Pulsivar/" << "http://example.com/Pulsivar/"
                                            << "http://example.com/Pulsivar/";
        QTest::newRow("www lower") << "www.example.com" << "www.example.com" << "http://www.example.com";
        QTest::newRow("WWW upper") << "WWW.EXAMPLE.COM" << "WWW.EXAMPLE.COM" << "http://www.example.com";
        QTest::newRow("www inside") << "example.com/www.page" << "example.com/www.page" << "";
        QTest::newRow("http") << "http://example.com/x" << "http://example.com/x" << "http://example.com/x";
        QTest::newRow("Http mixed") << "HtTp://example.com" << "HtTp://example.com" << "http://example.com";
        QTest::newRow("https") << "https://example.com/dl" << "https://example.com/dl" << "https://example.com/dl";
        QTest::newRow("HTTPS upper") << "HTTPS://example.com" << "HTTPS://example.com" << "https://example.com";
        QTest::newRow("ftp") << "ftp://files.example.com" << "ftp://files.example.com" << "ftp://files.example.com";
        QTest::newRow("FTP upper") << "FTP://files.example.com" << "FTP://files.example.com"
                                   << "ftp://files.example.com";
        QTest::newRow("mailto") << "mailto:dj@example.com" << "mailto:dj@example.com" << "mailto:dj@example.com";
        QTest::newRow("MailTo mixed") << "MailTo:dj@example.com" << "MailTo:dj@example.com"
                                      << "mailto:dj@example.com";
    }
    void webAddressGetsSchemeOnlyWhenItHasNone()
    {
        QFETCH(QString, address);
        QFETCH(QString, passed);
        QFETCH(QString, url);
        QCOMPARE(completeWebAddress(address), passed);

        const int32_t result = OpenWebAddress(nullptr, address, 1);
        if (url.isEmpty()) {
            // Not a web address and no such file: the shell's own failure, silently.
            QCOMPARE(result, shellFileNotFound);
            QVERIFY(opened.isEmpty());
            return;
        }
        QCOMPARE(result, shellOpened);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].file, passed);
        QCOMPARE(opened[0].operation, QStringLiteral("open"));
        QCOMPARE(opened[0].showCommand, int16_t(1));
        QCOMPARE(opened[0].url.toString(), url);
    }

    void webAddressFailureIsReturnedNotReported()
    {
        test::MessageRecorder messages;
        nextResult = shellNoAssociation;
        QCOMPARE(OpenWebAddress(nullptr, QStringLiteral("example.com"), 1), shellNoAssociation);
        QCOMPARE(messages.count(), 0);
    }

    void browserThatCannotStartIsReported()
    {
        test::MessageRecorder messages;
        setShellOpener([](const ShellOpenRequest &) -> int32_t { throw std::runtime_error("no desktop"); });
        QCOMPARE(OpenWebAddress(nullptr, QStringLiteral("http://example.com"), 1), -1);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QStringLiteral("Error Starting Web Browser"));
        QCOMPARE(messages.last().text, QStringLiteral("An error occurred while opening your default web browser   "));
        QCOMPARE(messages.last().icon, MessageIcon::Warning);
        QCOMPARE(messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void shellFailuresInWords_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "Out of System Resources: ";
        QTest::newRow("2") << 2 << "File Not Found: http://example.com/f";
        QTest::newRow("3") << 3 << "Path Not Found: /work dir";
        QTest::newRow("5") << 5 << "Access to File Denied: http://example.com/f";
        QTest::newRow("8") << 8 << "Out of Memory Error: http://example.com/f";
        QTest::newRow("11") << 11 << "Bad Executable File: http://example.com/f";
        QTest::newRow("26") << 26 << "Shell Execute - Unknown Error: 26";
        QTest::newRow("31") << 31 << "No Application Associated with Given File Extension: http://example.com/f";
        QTest::newRow("1") << 1 << "Shell Execute - Unknown Error: 1";
        QTest::newRow("-5") << -5 << "Shell Execute - Unknown Error: -5";
    }
    void shellFailuresInWords()
    {
        QFETCH(int, result);
        QFETCH(QString, text);
        test::MessageRecorder messages;
        nextResult = result;
        const QString file = QStringLiteral("http://example.com/f");
        QCOMPARE(ExecuteShellCommand(nullptr, QStringLiteral("open"), file, QString(), QString(), 1, true), result);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QStringLiteral("File Execution Error"));
        QCOMPARE(messages.last().icon, MessageIcon::Warning);
        QCOMPARE(messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(*shellErrorText(result, file, QStringLiteral("/work dir")), text);
        if (result != 3)
            QCOMPARE(messages.last().text, text);
    }

    void successAndUnreportedFailuresAreSilent_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("report");
        QTest::newRow("32 reported") << 32 << true;
        QTest::newRow("42 reported") << 42 << true;
        QTest::newRow("2 unreported") << 2 << false;
        QTest::newRow("31 unreported") << 31 << false;
    }
    void successAndUnreportedFailuresAreSilent()
    {
        QFETCH(int, result);
        QFETCH(bool, report);
        test::MessageRecorder messages;
        nextResult = result;
        QCOMPARE(ExecuteShellCommand(nullptr, QStringLiteral("open"), QStringLiteral("http://example.com"),
                                     QString(), QString(), 1, report),
                 result);
        QCOMPARE(messages.count(), 0);
    }

    void missingFileAndMissingFolderNameWhatIsMissing()
    {
        test::MessageRecorder messages;
        QTemporaryDir dir;
        const QString missingFile = dir.filePath(QStringLiteral("none.htm"));
        const QString missingDir = dir.filePath(QStringLiteral("nowhere"));

        QCOMPARE(ExecuteShellCommand(nullptr, QStringLiteral("open"), missingFile, QString(), dir.path(), 1, true),
                 shellFileNotFound);
        QCOMPARE(messages.last().text, QStringLiteral("File Not Found: ") + missingFile);

        QFile present(dir.filePath(QStringLiteral("here.htm")));
        QVERIFY(present.open(QIODevice::WriteOnly));
        present.close();
        QCOMPARE(ExecuteShellCommand(nullptr, QStringLiteral("open"), present.fileName(), QString(), missingDir, 1,
                                     true),
                 shellPathNotFound);
        QCOMPARE(messages.last().text, QStringLiteral("Path Not Found: ") + missingDir);
        QVERIFY(opened.isEmpty());
    }

    void documentOpensAsLocalFile()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("page.htm")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(OpenDocument(nullptr, QStringLiteral("page.htm"), QString(), dir.path(), 1, false));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].url, QUrl::fromLocalFile(file.fileName()));

        nextResult = shellNoAssociation;
        QVERIFY(!OpenDocument(nullptr, file.fileName(), QString(), QString(), 1, false));
        setShellOpener([](const ShellOpenRequest &) -> int32_t { throw std::runtime_error("broken"); });
        QVERIFY(!OpenDocument(nullptr, file.fileName(), QString(), QString(), 1, false));
    }

    void helpPageOpensFromProgramFolderAndFailsSilently()
    {
        test::TestEnvironment environment;
        test::MessageRecorder messages;
        QCOMPARE(helpFilePath(), QDir(environment.programFolder()).filePath(QStringLiteral("FlashHelp/Pulsivar.htm")));

        openHelpPage(nullptr);
        QVERIFY(opened.isEmpty());
        QCOMPARE(messages.count(), 0);

        QVERIFY(QDir(environment.programFolder()).mkpath(QStringLiteral("FlashHelp")));
        QFile page(helpFilePath());
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        openHelpPage(nullptr);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].url, QUrl::fromLocalFile(helpFilePath()));
    }

    void websiteItemOpensMakersSite()
    {
        openMakerWebsite(nullptr);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].file, completeWebAddress(makerWebsite()));
        QCOMPARE(opened[0].url.scheme(), QStringLiteral("http"));
    }
};

QTEST_MAIN(WebLinksTest)
#include "test_WebLinks.moc"
