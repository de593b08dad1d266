#include "common/MessageBox.h"

#include <QApplication>

namespace pulsivar {

namespace {
MessageAnswerer &answererSlot()
{
    static MessageAnswerer answerer;
    return answerer;
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QMessageBox::StandardButton showMessage(const QString &title, const QString &text, MessageIcon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton, QWidget *parent)
{
    const MessageRequest request{title, text, icon, buttons, defaultButton};
    if (answererSlot())
        return answererSlot()(request);

    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(qtIcon(icon), title, text, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // An hourglass set by the caller must not hide the pointer over the box.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return answer;
}

void setMessageAnswerer(MessageAnswerer answerer)
{
    answererSlot() = std::move(answerer);
}

} // namespace pulsivar
