// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The skin menu's command: stores the choice, moves the check mark, re-skins the open windows.
#include <QMap>
#include <cstdint>

class QAction;
class QWidget;

namespace pulsivar {

struct SkinWindows {
    QWidget *frmMetronome = nullptr;
    // While the main window loads, no secondary window exists yet to re-skin.
    bool mainWindowLoading = false;
    // Null while a window has not been created. Visible ones are re-skinned in this order.
    QWidget *frmAbout = nullptr;
    QWidget *frmAutoBPMConfig = nullptr;
    QWidget *frmMeasureConfig = nullptr;
    QWidget *frmUndocked = nullptr;
    QWidget *frmCamelot = nullptr;
};

// entries: the menu's actions indexed by skin id. The index is stored as ProgramSkin as it is,
// so an unknown id leaves no skin loaded, no entry checked, and is saved back unchanged.
void selectProgramSkin(int Index, int16_t &ProgramSkin, const QMap<int, QAction *> &entries,
                       const SkinWindows &windows);

} // namespace pulsivar
