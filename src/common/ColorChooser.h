// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Asking the user for a colour: the real colour dialog, or an answerer that tests install.
#include <QColor>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

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

// A colour the settings can keep, as 0x00BBGGRR: nullopt when the user cancelled, when black was
// chosen (0 stands for "no colour" there), or when the dialog failed, which is reported in a
// "Color Selection Error" box whose text failureText makes from the error's description.
std::optional<int32_t> chooseStorableColor(const QColor &initial, const QString &title, QWidget *parent,
                                           const std::function<QString(const QString &)> &failureText);

// An empty chooser brings back the real dialog.
void setColorChooser(ColorChooser chooser);

} // namespace pulsivar
