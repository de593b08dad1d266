// SPDX-License-Identifier: GPL-2.0-or-later
// Whatever text a box is given, it stays on the screen with its last lines (the question) in view.
#include "common/MessageBox.h"
#include <QtTest>

using namespace pulsivar;

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void textsAreBounded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown"); // empty: bounded, ending as the text ends
        const QString question = QStringLiteral("Would you like to download the latest version now?   ");
        QTest::newRow("ordinary") << "First line.   \n\nSecond line." << "First line.   \n\nSecond line.";
        QTest::newRow("30,000 line feeds") << "Latest 6.0.0" + QString(30000, '\n') + question
                                           << "Latest 6.0.0\n\n" + question;
        QTest::newRow("30,000 lines") << QString("line\n").repeated(30000) + question << "";
        QTest::newRow("a line of 50,000") << "Latest 6.0." + QString(50000, '0') + "\n\n" + question << "";
        QTest::newRow("other line breaks") << QString("a\r\rb\r\n\r\nc") + QChar(0x2028) + QChar(0x2028) + "d\x0b\x0b" + question
                                           << "a\n\nb\n\nc\n\nd\n\n" + question;
    }
    void textsAreBounded()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        MessageRequest asked;
        setMessageAnswerer([&asked](const MessageRequest &request) { return asked = request, QMessageBox::Yes; });
        showMessage("New Version Of\nPulsivar" + QString(500, '!'), text, MessageIcon::Information);
        setMessageAnswerer({});
        QVERIFY(!asked.title.contains('\n') && asked.title.size() <= 120);
        if (!shown.isEmpty())
            QCOMPARE(asked.text, shown);
        const QStringList lines = asked.text.split('\n');
        QVERIFY(lines.size() <= 20 && asked.text.size() <= 1000);
        QVERIFY(std::all_of(lines.begin(), lines.end(), [](const QString &line) { return line.size() <= 200; }));
        QCOMPARE(lines.last(), text.split(QRegularExpression("[\\r\\n\\x0b\\x{2028}]")).last());
    }
};

QTEST_GUILESS_MAIN(MessageBoxTest)
#include "test_MessageBox.moc"
