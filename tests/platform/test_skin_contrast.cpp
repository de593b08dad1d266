// SPDX-License-Identifier: GPL-2.0-or-later
// Every text a skin draws stands out from the background it is drawn on (WCAG AA, 4.5 to 1).
#include "platform/Skin.h"
#include "platform/SkinCatalog.h"

#include <QtTest>
#include <cmath>

using namespace pulsivar;

namespace {

constexpr double minimumContrast = 4.5;

struct Rule {
    QString selector;
    QMap<QString, QString> declarations;
};

// One rule per selector, in sheet order; a selector list gives each selector its own rule.
QList<Rule> parseSheet(QString sheet)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    sheet.remove(comment);
    QList<Rule> rules;
    static const QRegularExpression block(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
    for (const auto &match : block.globalMatch(sheet)) {
        QMap<QString, QString> declarations;
        for (const QString &declaration : match.captured(2).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
            if (colon > 0)
                declarations.insert(declaration.left(colon).trimmed().toLower(), declaration.mid(colon + 1).trimmed());
        }
        for (const QString &selector : match.captured(1).split(QLatin1Char(',')))
            rules.append({selector.simplified(), declarations});
    }
    return rules;
}

// Every colour a value names: a plain colour, or each stop of a gradient. Transparent names none.
QList<QColor> coloursIn(const QString &value)
{
    QList<QColor> colours;
    static const QRegularExpression hex(QStringLiteral("#[0-9a-fA-F]{3,6}\\b"));
    for (const auto &match : hex.globalMatch(value))
        colours << QColor(match.captured());
    static const QRegularExpression named(QStringLiteral("^(white|black)$"));
    if (const auto match = named.match(value.trimmed()); match.hasMatch())
        colours << QColor(match.captured(1));
    return colours;
}

double luminance(const QColor &colour)
{
    auto channel = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Parts of widgets that never carry text.
bool drawsNoText(const QString &selector)
{
    static const QStringList parts = {"::groove", "::handle", "::add-page", "::sub-page", "::indicator",
                                      "::add-line", "::sub-line", "::drop-down", "::down-arrow", "::up-arrow",
                                      "::separator", "::corner"};
    for (const QString &part : parts)
        if (selector.contains(part))
            return true;
    return selector.startsWith(QLatin1String("QScrollBar")) || selector.startsWith(QLatin1String("QSlider"));
}

class Sheet {
public:
    explicit Sheet(const QString &text)
    {
        for (const Rule &rule : parseSheet(text)) {
            auto &merged = bySelector[rule.selector];
            for (auto it = rule.declarations.cbegin(); it != rule.declarations.cend(); ++it)
                merged.insert(it.key(), it.value());
            if (!order.contains(rule.selector))
                order << rule.selector;
        }
    }

    QStringList order;
    QMap<QString, QMap<QString, QString>> bySelector;

    QList<QColor> text(const QString &selector) const { return property(selector, {QStringLiteral("color")}); }
    QList<QColor> background(const QString &selector) const
    {
        return property(selector, {QStringLiteral("background"), QStringLiteral("background-color")});
    }

    // What a rule inherits: the same selector without its states, then without its sub-control.
    static QStringList fallbacks(const QString &selector)
    {
        QStringList chain;
        static const QRegularExpression state(QStringLiteral("(?<!:):!?[a-z-]+$"));
        QString current = selector;
        while (true) {
            QString stripped = current;
            stripped.remove(state);
            if (stripped == current) {
                const qsizetype sub = current.indexOf(QLatin1String("::"));
                if (sub < 0)
                    break;
                stripped = current.left(sub);
            }
            current = stripped;
            chain << current;
        }
        return chain;
    }

    QList<QColor> inheritedText(const QString &selector) const
    {
        for (const QString &candidate : fallbacks(selector))
            if (const auto colours = text(candidate); !colours.isEmpty())
                return colours;
        return text(selector.contains(QLatin1String(":disabled")) ? QStringLiteral("QWidget:disabled")
                                                                   : QStringLiteral("QWidget"));
    }

    QList<QColor> inheritedBackground(const QString &selector) const
    {
        for (const QString &candidate : fallbacks(selector))
            if (const auto colours = background(candidate); !colours.isEmpty())
                return colours;
        return {};
    }

    // Where text without a background of its own can sit: windows, frames, tab pages.
    QList<QColor> surfaces() const
    {
        QList<QColor> colours;
        for (const QString &selector : {QStringLiteral("*[skinWindow=\"true\"]"), QStringLiteral("QDialog"),
                                        QStringLiteral("QGroupBox"), QStringLiteral("QTabWidget::pane")})
            colours << background(selector);
        return colours;
    }

private:
    QList<QColor> property(const QString &selector, const QStringList &names) const
    {
        const auto declarations = bySelector.value(selector);
        for (auto it = names.crbegin(); it != names.crend(); ++it)
            if (declarations.contains(*it))
                return coloursIn(declarations.value(*it));
        return {};
    }
};

void addSkinRows()
{
    QTest::addColumn<int>("id");
    for (const SkinEntry &entry : skinCatalog())
        QTest::addRow("%s", entry.caption) << int(entry.id);
}

QString loadedSheet(int id)
{
    oSkin().clear();
    return oSkin().LoadSkin(id) ? oSkin().styleSheet() : QString();
}

} // namespace

class TestSkinContrast : public QObject {
    Q_OBJECT

private slots:
    void contrastOf_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << "#000000" << "#ffffff" << 21.0;
        QTest::newRow("same colour") << "#777777" << "#777777" << 1.0;
        QTest::newRow("grey on white") << "#767676" << "#ffffff" << 4.54;
    }
    void contrastOf()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(double, ratio);
        QVERIFY(std::abs(contrast(QColor(a), QColor(b)) - ratio) < 0.01);
    }

    void inheritanceChain()
    {
        QCOMPARE(Sheet::fallbacks(QStringLiteral("QMenu::item:disabled")),
                 QStringList({"QMenu::item", "QMenu"}));
        QCOMPARE(Sheet::fallbacks(QStringLiteral("QTabBar::tab:hover:!selected")),
                 QStringList({"QTabBar::tab:hover", "QTabBar::tab", "QTabBar"}));
    }

    void everySkinSetsTheBasics_data() { addSkinRows(); }
    void everySkinSetsTheBasics()
    {
        QFETCH(int, id);
        const Sheet sheet(loadedSheet(id));
        QVERIFY(!sheet.text(QStringLiteral("QWidget")).isEmpty());
        QVERIFY(!sheet.surfaces().isEmpty());
        for (const char *selector : {"QPushButton", "QLineEdit", "QComboBox", "QListWidget", "QMenu", "QMenuBar",
                                     "QTabBar::tab", "QTabBar::tab:selected", "QGroupBox::title", "QToolTip"}) {
            QVERIFY2(!sheet.background(QLatin1String(selector)).isEmpty(), selector);
            QVERIFY2(!sheet.inheritedText(QLatin1String(selector)).isEmpty(), selector);
        }
    }

    void textStandsOutFromItsBackground_data() { addSkinRows(); }
    void textStandsOutFromItsBackground()
    {
        QFETCH(int, id);
        const Sheet sheet(loadedSheet(id));
        QStringList failures;
        auto check = [&](const QString &where, const QList<QColor> &texts, const QList<QColor> &backgrounds) {
            for (const QColor &text : texts)
                for (const QColor &background : backgrounds)
                    if (const double ratio = contrast(text, background); ratio < minimumContrast)
                        failures << QStringLiteral("%1: %2 on %3 is %4")
                                        .arg(where, text.name(), background.name())
                                        .arg(ratio, 0, 'f', 2);
        };
        int pairs = 0;
        for (const QString &selector : sheet.order) {
            if (drawsNoText(selector))
                continue;
            const auto declarations = sheet.bySelector.value(selector);
            QList<QColor> texts = sheet.text(selector);
            QList<QColor> backgrounds = sheet.background(selector);
            const bool ownText = !texts.isEmpty();
            const bool ownBackground = !backgrounds.isEmpty();
            if (!ownText && !ownBackground)
                continue;
            if (!ownText)
                texts = sheet.inheritedText(selector);
            if (!ownBackground)
                backgrounds = sheet.inheritedBackground(selector);
            if (backgrounds.isEmpty())
                backgrounds = sheet.surfaces();
            check(selector, texts, backgrounds);
            if (declarations.contains(QStringLiteral("selection-color")))
                check(selector + QStringLiteral(" (selection)"), coloursIn(declarations.value(QStringLiteral("selection-color"))),
                      coloursIn(declarations.value(QStringLiteral("selection-background-color"))));
            ++pairs;
        }
        QVERIFY(pairs > 30);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestSkinContrast)
#include "test_skin_contrast.moc"
