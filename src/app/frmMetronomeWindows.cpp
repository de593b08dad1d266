// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's links to the other windows and services: skins, placement, help, sound.
#include "app/frmMetronome.h"

#include "common/Steps.h"
#include "settings/ProgramState.h"
#include "detect/frmAutoBPMConfig.h"
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
#include <QActionGroup>
#include <QMenu>
#include <QStatusBar>
#include <QApplication>

namespace pulsivar {

void frmMetronome::mnuTools_HarmonicMixing_Click()
{
    ::pulsivar::mnuTools_HarmonicMixing_Click();
}

void frmMetronome::mnuSkin_SelectedSkin_Click(int Index)
{
    SkinWindows windows;
    windows.frmMetronome = this;
    windows.mainWindowLoading = mbFormLoading;
    windows.frmAbout = aboutWindowIfOpen();
    windows.frmAutoBPMConfig = existingAutoBPMConfig();
    windows.frmMeasureConfig = existingMeasureConfig();
    windows.frmUndocked = undockedDisplayIfLoaded();
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
    loadBeatSounds();
    reportClickOutputFallback();
}

void frmMetronome::loadBeatSounds()
{
    // Also opens the output, which takes a moment: the first click would otherwise come late.
    QString problem;
    runStep([&problem] {
        beatSoundEngine().setBeatSounds(plainWavePath(), accentWavePath());
        problem = beatSoundEngine().takeSoundProblem();
    });
    // Said once a version of the file, so the user knows why the beat is silent.
    if (!problem.isEmpty())
        statusBar()->showMessage(problem, 15000);
}

void frmMetronome::listClickOutputs()
{
    mnuOptions_ClickOutput->clear();
    const QString chosen = settings().ClickOutputDevice;
    auto *group = new QActionGroup(mnuOptions_ClickOutput);
    const auto entry = [&](const QString &caption, const QString &name, const QString &objectName) {
        QAction *a = mnuOptions_ClickOutput->addAction(caption);
        a->setObjectName(objectName);
        a->setCheckable(true);
        a->setChecked(name == chosen);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, name] { mnuOptions_ClickOutput_Click(name); });
    };
    entry(QStringLiteral("System default"), QString(), QStringLiteral("mnuClickOutput_Default"));
    QStringList devices;
    runStep([&devices] { devices = beatSoundEngine().outputDevices(); });
    // A chosen output that is not there now stays listed, so the menu says what was chosen.
    if (!chosen.isEmpty() && !devices.contains(chosen))
        devices << chosen;
    for (int i = 0; i < devices.size(); ++i)
        entry(devices[i], devices[i], QStringLiteral("mnuClickOutput_%1").arg(i + 1));
}

void frmMetronome::mnuOptions_ClickOutput_Click(const QString &name)
{
    settings().ClickOutputDevice = name;
    runStep([&name] { beatSoundEngine().setOutputDevice(name); });
    reportClickOutputFallback();
}

void frmMetronome::reportClickOutputFallback()
{
    bool fellBack = false;
    runStep([&fellBack] { fellBack = beatSoundEngine().takeFallbackNotice(); });
    if (fellBack)
        statusBar()->showMessage(QStringLiteral("The click output \"%1\" is not there: the clicks play on the "
                                                "system default output.")
                                     .arg(settings().ClickOutputDevice),
                                 15000);
}

void frmMetronome::beatSoundSwitched(bool on)
{
    if (on && grid.isRunning())
        loadBeatSounds();
    publishBeat();
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
