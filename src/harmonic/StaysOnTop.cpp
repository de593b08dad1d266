// SPDX-License-Identifier: GPL-2.0-or-later
#include "StaysOnTop.h"

namespace pulsivar {

void setStaysOnTop(QWidget *window, bool onTop)
{
    if (!window)
        return;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing a top-level window's flags hides it; put it back where it was.
    const bool wasVisible = window->isVisible();
    const QPoint position = window->pos();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        window->move(position);
        window->show();
    }
}

} // namespace pulsivar
