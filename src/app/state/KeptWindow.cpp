#include "app/state/KeptWindow.h"

#include "app/state/ProgramState.h"
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
    if (!programState().bShuttingDown) {
        // The window keeps its state for the next opening.
        event->ignore();
        hide();
        return;
    }
    event->accept();
}

void KeptWindow::Form_Unload()
{
    if (mbPlaced)
        runStep([this] { SaveFormPosition(this); });
}

} // namespace pulsivar
