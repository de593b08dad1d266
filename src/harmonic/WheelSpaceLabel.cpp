// SPDX-License-Identifier: GPL-2.0-or-later
#include "WheelSpaceLabel.h"

#include <QMouseEvent>

namespace pulsivar {

WheelSpaceLabel::WheelSpaceLabel(std::function<void()> onClick, QWidget *parent)
    : QLabel(parent), onClick(std::move(onClick))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setCursor(Qt::PointingHandCursor);
}

void WheelSpaceLabel::mousePressEvent(QMouseEvent *event)
{
    pressed = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a press and a release on the same space, as with any button.
void WheelSpaceLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressed = false;
    event->accept();
    if (click && onClick)
        onClick();
}

} // namespace pulsivar
