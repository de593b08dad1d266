#pragma once
// Asking the user for a beat colour: the real colour dialog, or an answerer that tests install.
#include <QColor>
#include <QString>
#include <functional>

class QWidget;

namespace pulsivar {

struct BeatColorChoice {
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QColor color;             // when Chosen
    QString errorDescription; // when Failed
};

using BeatColorChooser = std::function<BeatColorChoice(const QColor &initial, const QString &title, QWidget *parent)>;

// Shows the modal colour dialog (or asks the installed answerer). A chooser that throws or
// answers Chosen without a valid colour counts as Failed; nothing escapes.
BeatColorChoice chooseBeatColor(const QColor &initial, const QString &title, QWidget *parent);

// An empty chooser brings back the real dialog.
void setBeatColorChooser(BeatColorChooser chooser);

} // namespace pulsivar
