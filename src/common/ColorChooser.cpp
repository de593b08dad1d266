#include "common/ColorChooser.h"

#include <QColorDialog>
#include <exception>

namespace pulsivar {

namespace {
ColorChooser &installedChooser()
{
    static ColorChooser chooser;
    return chooser;
}

ColorChoice askColorDialog(const QColor &initial, const QString &title, QWidget *parent)
{
    ColorChoice choice;
    // The dialog answers a cancel with an invalid colour.
    const QColor color = QColorDialog::getColor(initial, parent, title);
    if (color.isValid()) {
        choice.outcome = ColorChoice::Outcome::Chosen;
        choice.color = color;
    }
    return choice;
}
} // namespace

ColorChoice chooseColor(const QColor &initial, const QString &title, QWidget *parent)
{
    ColorChoice choice;
    try {
        const ColorChooser &chooser = installedChooser();
        choice = chooser ? chooser(initial, title, parent) : askColorDialog(initial, title, parent);
    } catch (const std::exception &error) {
        choice = {ColorChoice::Outcome::Failed, {}, QString::fromLocal8Bit(error.what())};
    } catch (...) {
        choice = {ColorChoice::Outcome::Failed, {}, QStringLiteral("Unknown error")};
    }
    if (choice.outcome == ColorChoice::Outcome::Chosen && !choice.color.isValid())
        choice = {ColorChoice::Outcome::Failed, {}, QStringLiteral("The color dialog returned no color")};
    return choice;
}

void setColorChooser(ColorChooser chooser)
{
    installedChooser() = std::move(chooser);
}

} // namespace pulsivar
