// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/AlwaysOnTop.h"

#include <QAction>
#include <QWidget>

namespace pulsivar {

namespace {
void setStaysOnTopFlag(QWidget *form, bool onTop)
{
    if (!form || isAlwaysOnTop(form) == onTop)
        return;
    // Changing a window's flags hides it; show it again where it was, in the state it was.
    const bool wasVisible = form->isVisible();
    const QPoint position = form->pos();
    const Qt::WindowStates state = form->windowState();
    form->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        form->move(position);
        form->setWindowState(state);
        form->show();
    }
}
} // namespace

bool isAlwaysOnTop(const QWidget *form)
{
    return form && form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void SetAlwaysOnTop(QWidget *form)
{
    setStaysOnTopFlag(form, true);
}

void ClearAlwaysOnTop(QWidget *form)
{
    setStaysOnTopFlag(form, false);
}

void toggleAlwaysOnTop(QWidget *form, QAction *mnuOptions_AlwaysOnTop)
{
    if (isAlwaysOnTop(form))
        ClearAlwaysOnTop(form);
    else
        SetAlwaysOnTop(form);
    if (mnuOptions_AlwaysOnTop)
        mnuOptions_AlwaysOnTop->setChecked(isAlwaysOnTop(form));
}

} // namespace pulsivar
