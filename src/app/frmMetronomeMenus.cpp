// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's menus and the secondary windows they reach.
#include "app/frmMetronome.h"

#include "common/Steps.h"
#include "common/WaitCursor.h"
#include "detect/frmAutoBPMConfig.h"
#include "metronome/frmMeasureConfig.h"

namespace pulsivar {

void frmMetronome::mnuOptions_TimeSignitures_Click()
{
    const WaitCursor hourglass;
    runStep([] { measureConfigDialog().ShowMe(); });
}

void frmMetronome::mnuOptions_AutoBPMConfig_Click()
{
    const WaitCursor hourglass;
    runStep([] { autoBPMConfigDialog().ShowMe(); });
}

} // namespace pulsivar
