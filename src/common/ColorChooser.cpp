// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/ColorChooser.h"

#include "common/Colors.h"
#include "common/MessageBox.h"

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

std::optional<int32_t> chooseStorableColor(const QColor &initial, const QString &title, QWidget *parent,
                                           const std::function<QString(const QString &)> &failureText)
{
    const ColorChoice choice = chooseColor(initial, title, parent);
    switch (choice.outcome) {
    case ColorChoice::Outcome::Cancelled:
        return std::nullopt;
    case ColorChoice::Outcome::Failed:
        showMessage(QStringLiteral("Color Selection Error"), failureText(choice.errorDescription), MessageIcon::Warning,
                    QMessageBox::Ok, QMessageBox::NoButton, parent);
        return std::nullopt;
    case ColorChoice::Outcome::Chosen:
        break;
    }
    const int32_t chosen = colorRefFromColor(choice.color);
    if (chosen == 0)
        return std::nullopt;
    return chosen;
}

void setColorChooser(ColorChooser chooser)
{
    installedChooser() = std::move(chooser);
}

} // namespace pulsivar
