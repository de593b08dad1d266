// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/KeptWindow.h"

#include "common/ProcessEnd.h"
#include "common/Steps.h"
#include "platform/WindowPlacement.h"

#include <QCloseEvent>

namespace pulsivar {

void KeptWindow::showEvent(QShowEvent *event)
{
    mbPlaced = true;
    QWidget::showEvent(event);
}

void KeptWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    if (!processShuttingDown()) {
        // The window keeps its state for the next opening.
        event->ignore();
        hide();
        return;
    }
    event->accept();
}

void KeptWindow::restorePlacement()
{
    RestoreFormPosition(this);
    if (testAttribute(Qt::WA_Moved))
        mbPlaced = true;
}

void KeptWindow::Form_Unload()
{
    if (mbPlaced)
        runStep([this] { SaveFormPosition(this); });
}

} // namespace pulsivar
