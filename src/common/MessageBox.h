// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one way the program shows a message box; tests install an answerer instead of a dialog.
#include <QMessageBox>
#include <QString>
#include <functional>

namespace pulsivar {

enum class MessageIcon { None, Information, Warning, Critical, Question };

struct MessageRequest {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

using MessageAnswerer = std::function<QMessageBox::StandardButton(const MessageRequest &)>;

// Shows a real modal QMessageBox (or asks the installed answerer) and returns the button chosen.
// Title and text are bounded first (one title line; at most 20 lines, 200 characters a line and
// 1,000 in all, keeping the last lines), so no text can push the box or its buttons off the screen.
QMessageBox::StandardButton showMessage(const QString &title, const QString &text, MessageIcon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                        QWidget *parent = nullptr);

// An empty answerer brings back the real dialog.
void setMessageAnswerer(MessageAnswerer answerer);

} // namespace pulsivar
