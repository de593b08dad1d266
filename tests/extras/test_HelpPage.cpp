// SPDX-License-Identifier: GPL-2.0-or-later
// The help page that ships beside the program: its links lead somewhere and it needs nothing else.
#include "common/BuildConfig.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

class HelpPageTest : public QObject {
    Q_OBJECT

    QString page;

private slots:
    void initTestCase()
    {
        QFile file(QString::fromUtf8(pulsivar::build::sourceFolder) + QStringLiteral("/resources/help/Pulsivar.htm"));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        page = QString::fromUtf8(file.readAll());
        QVERIFY(page.contains(QStringLiteral("<title>Pulsivar Help</title>")));
    }

    void everyInternalLinkHasATarget()
    {
        QSet<QString> targets;
        static const QRegularExpression anchor(QStringLiteral("\\b(?:id|name)\\s*=\\s*\"([^\"]+)\""));
        for (auto it = anchor.globalMatch(page); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(!targets.contains(target), qPrintable(QStringLiteral("doubled anchor ") + target));
            targets.insert(target);
        }
        static const QRegularExpression link(QStringLiteral("href\\s*=\\s*\"#([^\"]*)\""));
        int links = 0;
        for (auto it = link.globalMatch(page); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            QVERIFY2(targets.contains(target), qPrintable(QStringLiteral("broken link #") + target));
        }
        QVERIFY(links > 10);
    }

    void pageNeedsNothingFromOutside()
    {
        // A picture is carried in the page itself.
        QVERIFY(!page.contains(QRegularExpression(QStringLiteral("\\bsrc\\s*=\\s*\"(?!data:image/png;base64,)"),
                                                  QRegularExpression::CaseInsensitiveOption)));
        QVERIFY(!page.contains(QStringLiteral("<link"), Qt::CaseInsensitive));
        QVERIFY(!page.contains(QStringLiteral("@import"), Qt::CaseInsensitive));
        QVERIFY(!page.contains(QStringLiteral("url("), Qt::CaseInsensitive));
        static const QRegularExpression outside(QStringLiteral("href\\s*=\\s*\"(?!#)"));
        QVERIFY2(!outside.match(page).hasMatch(), "a link leaves the page");
    }
};

QTEST_MAIN(HelpPageTest)
#include "test_HelpPage.moc"
