// The main window's menus and the secondary windows they reach.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"
#include "detect/frmAutoBPMConfig.h"
#include "metronome/frmMeasureConfig.h"

#include <QAction>
#include <QApplication>

namespace pulsivar {

void frmMetronome::mnuOptions_TimeSignitures_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        measureConfigDialog().ShowMe();
    } catch (...) {
    }
    QApplication::restoreOverrideCursor();
}
void frmMetronome::mnuOptions_AutoBPMConfig_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        autoBPMConfigDialog().ShowMe();
    } catch (...) {
    }
    QApplication::restoreOverrideCursor();
}





bool frmMetronome::isAccentBeat(int beat) const
{
    return isMeasureAccentBeat(beat);
}


} // namespace pulsivar
