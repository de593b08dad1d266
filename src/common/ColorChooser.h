#pragma once
// Asking the user for a colour: the real colour dialog, or an answerer that tests install.
#include <QColor>
#include <QString>
#include <functional>

class QWidget;

namespace pulsivar {

struct ColorChoice {
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QColor color;             // when Chosen
    QString errorDescription; // when Failed
};

using ColorChooser = std::function<ColorChoice(const QColor &initial, const QString &title, QWidget *parent)>;

// Shows the modal colour dialog (or asks the installed answerer). A chooser that throws or
// answers Chosen without a valid colour counts as Failed; nothing escapes.
ColorChoice chooseColor(const QColor &initial, const QString &title, QWidget *parent);

// An empty chooser brings back the real dialog.
void setColorChooser(ColorChooser chooser);

} // namespace pulsivar
