// SPDX-License-Identifier: GPL-2.0-or-later
// The update check against a real HTTP server on this machine: every outcome and the file's rules.
#include "extras/UpdateCheck.h"

#include "common/Version.h"
#include "extras/VersionFile.h"
#include "extras/WebLinks.h"

#include "LoopbackHttpServer.h"
#include "MessageRecorder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace pulsivar;

namespace {
const QString site = makerWebsite();
const QString running = currentVersionString();

QString newVersionLead(const QString &latest)
{
    return QStringLiteral("A new version of Pulsivar is available!\n\nYou are running version ") + running
           + QStringLiteral("\nThe latest version is ") + latest + QStringLiteral("\n\n");
}

const QString newVersionTitle = QStringLiteral("New Version Of Pulsivar Available!");
const QString upToDateTitle = QStringLiteral("No Pulsivar Update Available");
const QString cannotReadTitle = QStringLiteral("Can't Access Pulsivar Website");
} // namespace

class UpdateCheckTest : public QObject {
    Q_OBJECT

    QList<QString> opened;

private slots:
    void init()
    {
        opened.clear();
        setShellOpener([this](const ShellOpenRequest &request) {
            opened.append(request.file);
            return shellOpened;
        });
    }
    void cleanup()
    {
        setShellOpener({});
        setVersionFileUrl({});
        setUpdateCheckTimeout(0);
    }

    void versionFileIsReadByItsRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("address");
        QTest::newRow("version and address") << "5.1.2\r\nhttp://example.com/dl" << true << "5.1.2"
                                             << "http://example.com/dl";
        QTest::newRow("blanks trimmed") << "  5.1.2  \r\n  http://example.com/dl  " << true << "5.1.2"
                                        << "http://example.com/dl";
        QTest::newRow("address over lines") << "5.1\r\nhttp://example.com/\r\ndl/setup.zip\r\n" << true << "5.1"
                                            << "http://example.com/dl/setup.zip";
        QTest::newRow("nothing after") << "5.1\r\n" << true << "5.1" << "";
        QTest::newRow("leading line break") << "\r\n5.1" << true << "" << "5.1";
        QTest::newRow("no line break") << "5.1.0" << false << "" << "";
        QTest::newRow("lone LF is no break") << "5.1\nhttp://x" << false << "" << "";
        QTest::newRow("empty") << "" << false << "" << "";
        QTest::newRow("first line 32766 long") << QString(32766, u'9') + "\r\n" << true << QString(32766, u'9') << "";
        QTest::newRow("first line 32767 long") << QString(32767, u'9') + "\r\n" << false << "" << "";
    }
    void versionFileIsReadByItsRules()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(QString, version);
        QFETCH(QString, address);
        const auto content = parseVersionFile(text);
        QCOMPARE(content.has_value(), readable);
        if (!content)
            return;
        QCOMPARE(content->latestVersion, version);
        QCOMPARE(content->downloadAddress, address);
    }

    void onlyWebAddressesMayBeOpened_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("http") << "http://example.com/dl" << true;
        QTest::newRow("https") << "HTTPS://example.com/dl" << true;
        QTest::newRow("www") << "www.example.com/dl" << true;
        QTest::newRow("bare host") << "example.com/dl" << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("ftp") << "ftp://example.com/dl" << false;
        QTest::newRow("mailto") << "mailto:dj@example.com" << false;
        QTest::newRow("absolute path") << "/usr/bin/xterm" << false;
        QTest::newRow("file with www") << "file:///tmp/www.x" << false;
        QTest::newRow("empty") << "" << false;
    }
    void onlyWebAddressesMayBeOpened()
    {
        QFETCH(QString, address);
        QFETCH(bool, accepted);
        QCOMPARE(isWebDownloadAddress(address), accepted);
    }

    void outcomes_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");

        const QString upToDate = QStringLiteral("You are currently running the latest version of Pulsivar!   \n"
                                                "Please visit ")
                                 + site + QStringLiteral(" for more information.    ");
        const QString cannotRead =
            QStringLiteral("The latest Pulsivar program version could not be read from the Internet.  \n"
                           "Make sure that you are connected to the Internet and try again.  \n\n"
                           "All information about the latest version of Pulsivar is available at: \n")
            + site;
        const QString visit51 = newVersionLead(QStringLiteral("5.1")) + QStringLiteral("Please visit ") + site
                                + QStringLiteral(" to download the latest Pulsivar update   ");

        QTest::newRow("same version") << 200 << (running.toLatin1() + "\r\nhttp://example.com/dl") << true
                                      << upToDateTitle << upToDate;
        QTest::newRow("same version quiet") << 200 << (running.toLatin1() + "\r\nhttp://example.com/dl") << false
                                            << "" << "";
        QTest::newRow("older version") << 200 << QByteArray("4.9.99\r\n") << true << upToDateTitle << upToDate;
        QTest::newRow("5.1 and nothing after") << 200 << QByteArray("5.1\r\n") << true << newVersionTitle << visit51;
        QTest::newRow("5.1 quiet still told") << 200 << QByteArray("5.1\r\n") << false << newVersionTitle
                                              << visit51;
        QTest::newRow("no line break") << 200 << QByteArray("5.1.0") << true << cannotReadTitle << cannotRead;
        QTest::newRow("no line break quiet") << 200 << QByteArray("5.1.0") << false << "" << "";
        QTest::newRow("leading line break") << 200 << QByteArray("\r\n5.1.0\r\n") << true << "" << "";
        QTest::newRow("empty reply") << 200 << QByteArray() << true << cannotReadTitle << cannotRead;
        QTest::newRow("not a version") << 200 << QByteArray("<html>\r\n<body>hello</body>\r\n") << true
                                       << upToDateTitle << upToDate;
        // An error page is not the version file, whatever its lines look like.
        QTest::newRow("error page") << 404 << QByteArray("<html>\r\n<body>Not Found</body>\r\n</html>\r\n") << true
                                    << cannotReadTitle << cannotRead;
        QTest::newRow("server error quiet") << 500 << QByteArray("oops\r\n") << false << "" << "";
        QTest::newRow("file address not opened") << 200 << QByteArray("5.1\r\nfile:///etc/passwd\r\n") << true
                                                  << newVersionTitle << visit51;
        QTest::newRow("javascript address not opened") << 200 << QByteArray("5.1\r\njavascript:alert(1)") << true
                                                       << newVersionTitle << visit51;
        QTest::newRow("line feeds after the version")
            << 200 << "6.0.0" + QByteArray(30000, '\n') + "\r\nhttp://example.com/dl" << true << upToDateTitle << upToDate;
        QByteArray oversized = "9.9.9\r\nhttp://example.com/";
        oversized += QByteArray(64 * 1024, 'x');
        QTest::newRow("oversized reply") << 200 << oversized << true << cannotReadTitle << cannotRead;
        QByteArray justFits = "5.1\r\n";
        justFits += QByteArray(64 * 1024 - justFits.size(), ' ');
        QTest::newRow("64 KiB reply is read") << 200 << justFits << true << newVersionTitle << visit51;
    }
    void outcomes()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, flag);
        QFETCH(QString, title);
        QFETCH(QString, text);

        test::LoopbackHttpServer server;
        QVERIFY(server.isListening());
        server.respond(status, body);
        setVersionFileUrl(server.url(QStringLiteral("/Pulsivar/ProgVersion.txt")));
        test::MessageRecorder messages;

        CheckForProgramUpdates(nullptr, flag);

        QCOMPARE(server.requestedPaths, QStringList{QStringLiteral("/Pulsivar/ProgVersion.txt")});
        if (title.isEmpty()) {
            QCOMPARE(messages.count(), 0);
        } else {
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.last().title, title);
            QCOMPARE(messages.last().text, text);
            QCOMPARE(messages.last().icon, MessageIcon::Information);
            QCOMPARE(messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QVERIFY(opened.isEmpty());
    }

    void newVersionWithAddressOffersDownload_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("address");
        QTest::newRow("one line") << QByteArray("5.1.2\r\nhttp://example.com/dl/Pulsivar.zip\r\n")
                                  << "http://example.com/dl/Pulsivar.zip";
        QTest::newRow("two lines") << QByteArray("5.1.2\r\nhttps://example.com/dl/\r\nPulsivar.zip")
                                   << "https://example.com/dl/Pulsivar.zip";
        QTest::newRow("newer revision") << QByteArray(" 5.0.71 \r\n www.example.com ") << "www.example.com";
    }
    void newVersionWithAddressOffersDownload()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, address);
        test::LoopbackHttpServer server;
        server.respond(200, body);
        setVersionFileUrl(server.url(QStringLiteral("/Pulsivar/ProgVersion.txt")));
        test::MessageRecorder messages;
        const QString latest = QString::fromLatin1(body.left(body.indexOf("\r\n"))).trimmed();
        const QString question = newVersionLead(latest)
                                 + QStringLiteral("Would you like to download the latest version now?   ");

        messages.queueAnswer(QMessageBox::Yes);
        CheckForProgramUpdates(nullptr, true);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, newVersionTitle);
        QCOMPARE(messages.last().text, question);
        QCOMPARE(messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
        QCOMPARE(opened, QList<QString>{address});

        messages.clear();
        messages.queueAnswer(QMessageBox::No);
        CheckForProgramUpdates(nullptr, false);
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.requests[1].title, QStringLiteral("Visit The Pulsivar Website For More Information"));
        QCOMPARE(messages.requests[1].text,
                 QStringLiteral("No Pulsivar update will be downloaded.   \nYou can always visit ") + site
                     + QStringLiteral(" for all Pulsivar program information.   "));
        QCOMPARE(opened.size(), 1);
    }

    void silentServerTimesOut()
    {
        test::LoopbackHttpServer server;
        server.neverAnswer();
        setVersionFileUrl(server.url(QStringLiteral("/Pulsivar/ProgVersion.txt")));
        setUpdateCheckTimeout(700);
        test::MessageRecorder messages;
        // Timers keep running while the check waits, under the hourglass.
        Qt::CursorShape waitingShape = Qt::ArrowCursor;
        QTimer::singleShot(200, [&] {
            if (const QCursor *cursor = QApplication::overrideCursor())
                waitingShape = cursor->shape();
        });
        QElapsedTimer elapsed;
        elapsed.start();
        CheckForProgramUpdates(nullptr, true);
        QVERIFY2(elapsed.elapsed() < 5000, "the check waited far longer than its time-out");
        QCOMPARE(waitingShape, Qt::WaitCursor);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, cannotReadTitle);
        QCOMPARE(server.requestedPaths.size(), 1);
    }

    void unreachableServerCannotBeRead()
    {
        quint16 port = 0;
        {
            test::LoopbackHttpServer closed;
            port = closed.url(QString()).port();
        }
        setVersionFileUrl(QUrl(QStringLiteral("http://127.0.0.1:%1/Pulsivar/ProgVersion.txt").arg(port)));
        test::MessageRecorder messages;
        CheckForProgramUpdates(nullptr, true);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, cannotReadTitle);
    }
};

QTEST_MAIN(UpdateCheckTest)
#include "test_UpdateCheck.moc"
