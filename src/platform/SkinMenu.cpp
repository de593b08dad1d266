// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SkinMenu.h"

#include "platform/Skin.h"

#include <QAction>
#include <QWidget>

namespace pulsivar {

void selectProgramSkin(int Index, int16_t &ProgramSkin, const QMap<int, QAction *> &entries,
                       const SkinWindows &windows)
{
    for (QAction *entry : entries)
        if (entry)
            entry->setChecked(false);
    ProgramSkin = int16_t(Index);
    ApplyProgramSkin(windows.frmMetronome, ProgramSkin);
    if (!windows.mainWindowLoading) {
        for (QWidget *window : {windows.frmAbout, windows.frmAutoBPMConfig, windows.frmMeasureConfig,
                                windows.frmUndocked, windows.frmCamelot}) {
            if (window && window->isVisible())
                ApplyProgramSkin(window, ProgramSkin);
        }
    }
    if (QAction *entry = entries.value(Index))
        entry->setChecked(true);
}

} // namespace pulsivar
