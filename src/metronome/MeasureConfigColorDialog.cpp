#include "metronome/MeasureConfigColorDialog.h"

#include <QColorDialog>
#include <exception>

namespace pulsivar {

namespace {
BeatColorChooser &installedChooser()
{
    static BeatColorChooser chooser;
    return chooser;
}

BeatColorChoice askColorDialog(const QColor &initial, const QString &title, QWidget *parent)
{
    BeatColorChoice choice;
    // The dialog answers a cancel with an invalid colour.
    const QColor color = QColorDialog::getColor(initial, parent, title);
    if (color.isValid()) {
        choice.outcome = BeatColorChoice::Outcome::Chosen;
        choice.color = color;
    }
    return choice;
}
} // namespace

BeatColorChoice chooseBeatColor(const QColor &initial, const QString &title, QWidget *parent)
{
    BeatColorChoice choice;
    try {
        const BeatColorChooser &chooser = installedChooser();
        choice = chooser ? chooser(initial, title, parent) : askColorDialog(initial, title, parent);
    } catch (const std::exception &error) {
        choice = {BeatColorChoice::Outcome::Failed, {}, QString::fromLocal8Bit(error.what())};
    } catch (...) {
        choice = {BeatColorChoice::Outcome::Failed, {}, QStringLiteral("Unknown error")};
    }
    if (choice.outcome == BeatColorChoice::Outcome::Chosen && !choice.color.isValid())
        choice = {BeatColorChoice::Outcome::Failed, {}, QStringLiteral("The color dialog returned no color")};
    return choice;
}

void setBeatColorChooser(BeatColorChooser chooser)
{
    installedChooser() = std::move(chooser);
}

} // namespace pulsivar
