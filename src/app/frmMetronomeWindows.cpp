// The main window's links to the other windows and services: skins, placement, help, sound.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"
#include "extras/UpdateCheck.h"
#include "extras/WebLinks.h"
#include "extras/frmAbout.h"
#include "extras/frmUndocked.h"
#include "harmonic/CamelotOpening.h"
#include "metronome/BeatIndicator.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"
#include "metronome/frmMeasureConfig.h"
#include "platform/AlwaysOnTop.h"
#include "platform/SkinMenu.h"
#include "platform/WindowPlacement.h"

#include <QAction>
#include <QApplication>

namespace pulsivar {

namespace {
// A secondary window that has been created and not yet closed for good, found by its name.
QWidget *loadedWindow(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name))
            return widget;
    }
    return nullptr;
}
} // namespace

void frmMetronome::mnuTools_HarmonicMixing_Click()
{
    ::pulsivar::mnuTools_HarmonicMixing_Click();
}

void frmMetronome::mnuSkin_SelectedSkin_Click(int Index)
{
    SkinWindows windows;
    windows.frmMetronome = this;
    windows.mainWindowLoading = mbFormLoading;
    windows.frmAbout = loadedWindow("frmAbout");
    windows.frmAutoBPMConfig = loadedWindow("frmAutoBPMConfig");
    windows.frmMeasureConfig = existingMeasureConfig();
    windows.frmUndocked = loadedWindow("frmUndocked");
    windows.frmCamelot = frmCamelotIfLoaded();
    selectProgramSkin(Index, settings().ProgramSkin, mnuSkin_SelectedSkin, windows);
}

void frmMetronome::mnuOptions_PlayBeatSound_Click()
{
    // The action has toggled its own check mark; the undocked box and the setting follow it.
    const bool on = mnuOptions_PlayBeatSound->isChecked();
    undocked().setPlayWave(on);
    settings().PlayBeatSound = on;
}

void frmMetronome::mnuOptions_Undock_Click()
{
    frmUndocked &display = undocked();
    if (display.isVisible()) {
        display.hide();
        mnuOptions_Undock->setChecked(false);
    } else {
        display.ShowMe(mnuOptions_PlayBeatSound->isChecked());
        mnuOptions_Undock->setChecked(true);
    }
}

frmUndocked &frmMetronome::undocked()
{
    frmUndocked &display = undockedDisplay();
    if (!undockedConnected) {
        undockedConnected = true;
        connect(&display, &frmUndocked::playBeatSoundToggled, this,
                [this](bool on) { mnuOptions_PlayBeatSound->setChecked(on); });
        connect(&display, &frmUndocked::undockClosed, this, [this] { mnuOptions_Undock->setChecked(false); });
        connect(&display, &QObject::destroyed, this, [this] { undockedConnected = false; });
    }
    return display;
}

void frmMetronome::mnuOptions_AlwaysOnTop_Click()
{
    toggleAlwaysOnTop(this, mnuOptions_AlwaysOnTop);
}

void frmMetronome::mnuHelp_Help_Click()
{
    openHelpPage(this);
}

void frmMetronome::mnuHelp_CheckProgUpdates_Click()
{
    CheckForProgramUpdates();
}

void frmMetronome::CheckForProgramUpdates()
{
    ::pulsivar::CheckForProgramUpdates(this, true);
}

void frmMetronome::mnuHelp_Website_Click()
{
    openMakerWebsite(this);
}

void frmMetronome::mnuHelp_About_Click()
{
    showAboutWindow();
}

void frmMetronome::restorePlacement()
{
    RestoreFormPosition(this);
}

void frmMetronome::savePlacement()
{
    SaveFormPosition(this);
}

void frmMetronome::extractWaveFilesForBeat()
{
    ExtractWaveFiles();
    // Opening the output takes a moment; a click due before it runs would come late.
    PrepareBeatSound();
}

void frmMetronome::playBeat(bool accent, double dueSeconds)
{
    PlayWaveFileAt(accent ? accentWavePath() : plainWavePath(), dueSeconds);
}

void frmMetronome::mirrorBeatOnUndocked()
{
    mirrorBeatOnUndockedDisplay(txtBeatColor->beatColor(), txtBeatColor->text());
}

void frmMetronome::mirrorStopOnUndocked()
{
    clearUndockedDisplay();
}

} // namespace pulsivar
