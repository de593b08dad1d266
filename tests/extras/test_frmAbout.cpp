// SPDX-License-Identifier: GPL-2.0-or-later
// The About window's lines: version, build number, web site and the executable's build date.
#include "extras/frmAbout.h"

#include "extras/AboutTexts.h"
#include "extras/WebLinks.h"
#include "platform/SkinLabel.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace pulsivar;

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void windowShowsItsLines()
    {
        frmAbout window;
        QCOMPARE(window.windowTitle(), QStringLiteral("About Pulsivar"));
        QCOMPARE(window.findChild<SkinLabel *>(QStringLiteral("skinlblVersion"))->text(),
                 QStringLiteral("Pulsivar v5.0"));
        QCOMPARE(window.findChild<SkinLabel *>(QStringLiteral("skinlblBuildNumber"))->text(),
                 QStringLiteral("Build number 70"));
        QCOMPARE(window.findChild<SkinLabel *>(QStringLiteral("skinlblWebAddress"))->text(), makerWebsite());
        auto *ok = window.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("&Groovy"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Close window"));
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("picIcon")));
        QVERIFY(window.isModal());
        QCOMPARE(window.size(), QSize(304, 191));
    }

    void buildDateIsTheRunningExecutables()
    {
        // The test's own executable stands in for the program's.
        frmAbout window;
        const QFileInfo executable(QCoreApplication::applicationFilePath());
        const QString expected = QStringLiteral("Built on ")
                                 + QLocale::system().toLower(
                                     QLocale::system().toString(executable.lastModified().date(), QLocale::ShortFormat));
        const QString line = window.findChild<SkinLabel *>(QStringLiteral("skinlblBuildDate"))->text();
        QVERIFY2(line.startsWith(expected), qPrintable(line));
        QVERIFY(line.size() > expected.size());
        QCOMPARE(line.mid(9), line.mid(9).toLower());
    }

    void buildDateIsLowerCasedInTheRegionalFormat()
    {
        QTemporaryDir folder;
        const QString path = executablePathIn(folder.path(), QStringLiteral("pulsivar"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QDateTime afternoon(QDate(2025, 3, 7), QTime(14, 58, 4));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(afternoon, QFileDevice::FileModificationTime));
        file.close();

        // The regional marker may be set off by a narrow blank; it must read in lower case.
        const QString american = aboutBuildDateLine(path, QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(american.startsWith(QStringLiteral("Built on 3/7/25 2:58:04")), qPrintable(american));
        QVERIFY2(american.endsWith(QStringLiteral("pm")), qPrintable(american));
        QCOMPARE(aboutBuildDateLine(path, QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("Built on 07.03.25 14:58:04"));
    }

    void executableFoundWithoutDoubledSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << "/opt/pulsivar" << "/opt/pulsivar/pulsivar";
        QTest::newRow("root") << "/" << "/pulsivar";
        QTest::newRow("drive root") << "C:\\" << "C:\\pulsivar";
        QTest::newRow("folder with slash") << "/opt/pulsivar/" << "/opt/pulsivar/pulsivar";
    }
    void executableFoundWithoutDoubledSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(executablePathIn(folder, QStringLiteral("pulsivar")), path);
    }

    void programFolderAtRootStillDated()
    {
        // "/" as the program folder: a file directly under the root is found and dated.
        const QString path = executablePathIn(QStringLiteral("/"), QStringLiteral("tmp"));
        QCOMPARE(path, QStringLiteral("/tmp"));
        QVERIFY(aboutBuildDateLine(path).size() > QStringLiteral("Built on ").size());
    }

    void missingExecutableLeavesDateEmpty()
    {
        test::TestEnvironment environment; // the program folder holds no executable
        QCOMPARE(aboutBuildDateLine(runningExecutablePath()), QStringLiteral("Built on "));
        frmAbout window;
        QCOMPARE(window.findChild<SkinLabel *>(QStringLiteral("skinlblBuildDate"))->text(),
                 QStringLiteral("Built on "));
        QCOMPARE(window.findChild<SkinLabel *>(QStringLiteral("skinlblVersion"))->text(),
                 QStringLiteral("Pulsivar v5.0"));
    }

    void groovyClosesTheModalWindow()
    {
        bool sawWindow = false;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            sawWindow = window != nullptr;
            if (window)
                window->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        });
        QTimer::singleShot(3000, [] { closeAboutWindow(); });
        showAboutWindow();
        QVERIFY(sawWindow);
    }
};

QTEST_MAIN(AboutTest)
#include "test_frmAbout.moc"
