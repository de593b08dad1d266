// Automatic tempo detection on the main window: the tab strip, sampling and the detected tempo.
#include "app/frmMetronome.h"

#include <QFrame>
#include <QTabBar>

namespace pulsivar {

void frmMetronome::tabTempoSource_Click()
{
    const bool manual = tabTempoSource->currentIndex() == 0;
    fraManualTempo->setVisible(manual);
    fraAudioTempo->setVisible(!manual);
}

void frmMetronome::cmdStartAudIn_Click() {}
void frmMetronome::cmdStopAudIn_Click() {}
void frmMetronome::lstAudioHardware_Click() {}
void frmMetronome::oAudioInTimer_Timer() {}
void frmMetronome::chkHoldAudioBPM_Click() {}
void frmMetronome::cmdSetAudioInTempo_Click() {}
void frmMetronome::resetSilenceTracking() {}
void frmMetronome::releaseAudioSystem() {}

} // namespace pulsivar
