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
QMessageBox::StandardButton showMessage(const QString &title, const QString &text, MessageIcon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                        QWidget *parent = nullptr);

// An empty answerer brings back the real dialog.
void setMessageAnswerer(MessageAnswerer answerer);

} // namespace pulsivar
