// Tempo entry on the main window: channels, tap, slider, steps, typing and the nudge.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace pulsivar {

void frmMetronome::cmdTempoTap_Click() {}
void frmMetronome::cmdMinusSldrBPM_Click() {}
void frmMetronome::cmdPlusSldrBPM_Click() {}
void frmMetronome::sldrBPM_Change() {}
void frmMetronome::sldrBPM_MouseUp() {}
void frmMetronome::cmdDivided2_Click() {}
void frmMetronome::cmdTimes2_Click() {}
void frmMetronome::cmdUseManualTempo_Click() {}
void frmMetronome::optChannel_Click(int) {}
void frmMetronome::UpdatePercentDifference() {}

void frmMetronome::cmdNudgeFaster_Click() {}
void frmMetronome::cmdNudgeSlower_Click() {}
void frmMetronome::ValidateNudgeBox() {}
void frmMetronome::CalculateDynamicNudge() {}
void frmMetronome::txtNudgeMS_Validate() {}
void frmMetronome::chkAllowNudgeCalc_Click() {}

void frmMetronome::nudgeTick() {}
void frmMetronome::cancelNudge()
{
    mbNudgeFasterPending = false;
    mbNudgeSlowerPending = false;
    mbNudgeFirstTickDone = false;
}

bool frmMetronome::Form_KeyPress(QKeyEvent *) { return false; }
bool frmMetronome::txtManualTempo_KeyPress(QKeyEvent *) { return false; }
bool frmMetronome::txtNudgeMS_KeyPress(QKeyEvent *) { return false; }

void frmMetronome::keyPressEvent(QKeyEvent *event)
{
    if (!Form_KeyPress(event))
        QMainWindow::keyPressEvent(event);
}

bool frmMetronome::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == txtManualTempo)
            return txtManualTempo_KeyPress(key);
        if (watched == txtNudgeMS)
            return txtNudgeMS_KeyPress(key);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pulsivar
