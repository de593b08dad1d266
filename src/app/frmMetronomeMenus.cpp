// The main window's menus and the secondary windows they reach.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"

#include <QAction>

namespace pulsivar {

void frmMetronome::mnuTools_HarmonicMixing_Click() {}
void frmMetronome::mnuSkin_SelectedSkin_Click(int) {}
void frmMetronome::mnuOptions_TimeSignitures_Click() {}
void frmMetronome::mnuOptions_AutoBPMConfig_Click() {}

void frmMetronome::mnuOptions_PlayBeatSound_Click()
{
    // The action toggles its own check mark; the setting follows it.
    settings().PlayBeatSound = mnuOptions_PlayBeatSound->isChecked();
}

void frmMetronome::mnuOptions_Undock_Click() {}
void frmMetronome::mnuOptions_AlwaysOnTop_Click() {}
void frmMetronome::mnuHelp_Help_Click() {}
void frmMetronome::mnuHelp_CheckProgUpdates_Click() { CheckForProgramUpdates(); }
void frmMetronome::mnuHelp_Website_Click() {}
void frmMetronome::mnuHelp_About_Click() {}
void frmMetronome::CheckForProgramUpdates() {}

void frmMetronome::restorePlacement() {}
void frmMetronome::savePlacement() {}

void frmMetronome::extractWaveFilesForBeat() {}
void frmMetronome::playBeat(bool, double) {}

bool frmMetronome::isAccentBeat(int beat) const
{
    return settings().isAccentBeat(beat);
}

void frmMetronome::mirrorBeatOnUndocked() {}
void frmMetronome::mirrorStopOnUndocked() {}

} // namespace pulsivar
