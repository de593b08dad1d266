// SPDX-License-Identifier: GPL-2.0-or-later
// Loading the carried skins and putting them on windows.
#include "SkinTestWindow.h"
#include "TestEnvironment.h"

#include "platform/Skin.h"
#include "platform/SkinCatalog.h"

#include <QtTest>

using namespace pulsivar;

namespace {

QStringList styleWarnings;

// The offscreen platform's own notices are not about the sheets.
void recordWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if (QByteArray(context.category ? context.category : "").startsWith("qt.qpa")
        || message.contains(QLatin1String("propagateSizeHints")))
        return;
    styleWarnings << message;
}

QStringList warningsWhileShowing(QWidget *window, const std::function<void()> &apply)
{
    styleWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordWarnings);
    apply();
    window->show();
    QApplication::processEvents();
    window->grab();
    for (QMenu *menu : window->findChildren<QMenu *>())
        menu->grab();
    qInstallMessageHandler(previous);
    return styleWarnings;
}

QColor centreColour(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

class TestSkins : public QObject {
    Q_OBJECT

private slots:
    void init() { oSkin().clear(); }

    void catalogue_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("caption");
        const QStringList captions = {"B-Studio", "Chizh", "Galaxy", "Geek-Superhero", "Green", "Max", "Media",
                                      "Metallic", "Paper", "Top Secret", "Web II", "Win Aqua", "Zhelezo"};
        for (int i = 0; i < captions.size(); ++i)
            QTest::addRow("%d", 101 + i) << 101 + i << captions[i];
    }
    void catalogue()
    {
        QFETCH(int, id);
        QFETCH(QString, caption);
        QCOMPARE(skinCaption(id), caption);
        QVERIFY(QFile::exists(skinResourcePath(id)));
    }

    void unknownIdsHaveNoSkin_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("below") << 100;
        QTest::newRow("above") << 114;
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -101;
    }
    void unknownIdsHaveNoSkin()
    {
        QFETCH(int, id);
        QVERIFY(skinCaption(id).isEmpty());
        QVERIFY(!oSkin().LoadSkin(id));
        QVERIFY(!oSkin().hasSkin());
    }

    void everySkinAppliesWithoutWarnings_data() { catalogue_data(); }
    void everySkinAppliesWithoutWarnings()
    {
        QFETCH(int, id);
        test::SkinTestWindow window;
        const QStringList warnings = warningsWhileShowing(&window, [&] { ApplyProgramSkin(&window, int16_t(id)); });
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
        QCOMPARE(oSkin().loadedSkinId(), id);
        QCOMPARE(window.styleSheet(), oSkin().styleSheet());
        QVERIFY(window.cursor().shape() != Qt::WaitCursor);
    }

    // Guards the check above: a broken sheet must be noticed.
    void aBrokenSheetIsNoticed()
    {
        test::SkinTestWindow window;
        const QStringList warnings = warningsWhileShowing(
            &window, [&] { window.setStyleSheet(QStringLiteral("QPushButton { color: #fff; ")); });
        QVERIFY(!warnings.isEmpty());
    }

    void everyImageASkinNamesExists_data() { catalogue_data(); }
    void everyImageASkinNamesExists()
    {
        QFETCH(int, id);
        QVERIFY(oSkin().LoadSkin(id));
        static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        for (const auto &match : url.globalMatch(oSkin().styleSheet()))
            QVERIFY2(QFile::exists(match.captured(1)), qPrintable(match.captured(1)));
    }

    // The sheets address the label class by its namespaced name; a typo would silently match nothing.
    void skinnedLabelsTakeTheirOwnColour_data() { catalogue_data(); }
    void skinnedLabelsTakeTheirOwnColour()
    {
        QFETCH(int, id);
        test::SkinTestWindow window;
        ApplyProgramSkin(&window, int16_t(id));
        window.show();
        QApplication::processEvents();
        static const QRegularExpression rule(QStringLiteral("pulsivar--SkinLabel \\{ color: (#[0-9a-f]{6})"));
        const auto match = rule.match(oSkin().styleSheet());
        QVERIFY(match.hasMatch());
        QCOMPARE(window.skinLabel->palette().color(QPalette::WindowText), QColor(match.captured(1)));
    }

    // The beat indicator and colour swatches show the colour the program gives them, in every skin.
    void exemptWidgetsKeepTheirColours_data() { catalogue_data(); }
    void exemptWidgetsKeepTheirColours()
    {
        QFETCH(int, id);
        test::SkinTestWindow window;
        const QColor beat(0x12, 0xc4, 0x3a);
        const QColor swatch(0xd0, 0x20, 0x90);
        paintSkinExempt(window.txtBeatColor, beat, Qt::black);
        paintSkinExempt(window.swatch, swatch, Qt::black);
        window.txtBeatColor->clear();
        ApplyProgramSkin(&window, int16_t(id));
        window.show();
        QApplication::processEvents();
        QCOMPARE(centreColour(window.txtBeatColor), beat);
        QCOMPARE(centreColour(window.swatch), swatch);
        // A colour set after the skin is applied shows at once too.
        paintSkinExempt(window.txtBeatColor, swatch, Qt::white);
        QApplication::processEvents();
        QCOMPARE(centreColour(window.txtBeatColor), swatch);
    }

    void unreadableSkinKeepsThePreviousOne()
    {
        test::SkinTestWindow first;
        test::SkinTestWindow second;
        ApplyProgramSkin(&first, 109);
        ApplyProgramSkin(&second, 999);
        QCOMPARE(oSkin().loadedSkinId(), 109);
        QCOMPARE(second.styleSheet(), first.styleSheet());
    }

    void withoutAnySkinTheWindowKeepsItsLook()
    {
        test::SkinTestWindow window;
        window.setStyleSheet(QString());
        ApplyProgramSkin(&window, 250);
        QVERIFY(window.styleSheet().isEmpty());
        QVERIFY(!oSkin().hasSkin());
    }

    void noTemporaryFileIsLeft_data() { catalogue_data(); }
    void noTemporaryFileIsLeft()
    {
        QFETCH(int, id);
        test::TestEnvironment environment;
        test::SkinTestWindow window;
        const QString leftover = QDir(environment.programFolder()).filePath(QString::fromLatin1(temporarySkinFileName));
        ApplyProgramSkin(&window, int16_t(id));
        QVERIFY(!QFile::exists(leftover));
        QCOMPARE(QDir(environment.programFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    // A file some earlier run left behind goes at the next skin load.
    void anEarlierLeftoverIsRemoved()
    {
        test::TestEnvironment environment;
        const QString leftover = QDir(environment.programFolder()).filePath(QString::fromLatin1(temporarySkinFileName));
        QFile file(leftover);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old skin");
        file.close();
        test::SkinTestWindow window;
        ApplyProgramSkin(&window, 103);
        QVERIFY(!QFile::exists(leftover));
    }
};

QTEST_MAIN(TestSkins)
#include "test_skins.moc"
