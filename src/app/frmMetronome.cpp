// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/frmMetronome.h"
#include "common/Steps.h"
#include "sync/LinkSession.h"

#include "app/Startup.h"
#include "settings/ProgramState.h"
#include "common/Version.h"
#include "common/BuildConfig.h"
#include "common/Clock.h"
#include "common/Colors.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
#include "common/TempoLimits.h"
#include "metronome/BeatIndicator.h"
#include "platform/SkinLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>

namespace pulsivar {

namespace {
frmMetronome *theMainWindow = nullptr;
} // namespace

frmMetronome *mainWindow() { return theMainWindow; }
void setMainWindow(frmMetronome *window) { theMainWindow = window; }

frmMetronome::frmMetronome(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMetronome"));
    buildWidgets();
    buildMenus();
}

frmMetronome::~frmMetronome()
{
    if (theMainWindow == this)
        theMainWindow = nullptr;
    // The widgets go with the QWidget part, after this part is gone: a box that loses the focus
    // then (editingFinished) must not reach a handler of a window that no longer exists.
    const auto children = findChildren<QObject *>();
    for (QObject *child : children)
        QObject::disconnect(child, nullptr, this, nullptr);
}

void frmMetronome::Form_Load()
{
    mbFormLoading = true;
    const ProgramSettings &s = settings();
    mnuSkin_SelectedSkin_Click(s.ProgramSkin);
    restorePlacement();
    setWindowTitle(programTitle());
    mnuHelp_Help->setText(programName() + QStringLiteral(" Help"));
    mnuHelp_About->setText(QStringLiteral("About ") + programName());
    mnu_Skin->setTitle(programName() + QStringLiteral(" window skin"));
    mnuHelp_Website->setText(QString::fromLatin1(build::website));
    StopMetronome();
    mnuOptions_PlayBeatSound->setChecked(s.PlayBeatSound);
    tabTempoSource->setCurrentIndex(0);
    fraManualTempo->setVisible(true);
    fraAudioTempo->setVisible(false);
    txtBPM[1]->clear();
    txtBPM[2]->clear();
    skinlblPercentDifference->setText(QStringLiteral("Enter a tempo for Channels 1 & 2"));
    txtManualTempo->clear();
    txtBeatColor->clear();
    txtManualTempo->setToolTip(QStringLiteral("Enter a BPM value between %1 and %2").arg(sldrBPM->minimum()).arg(sldrBPM->maximum()));
    txtNudgeMS->setToolTip(QStringLiteral("Enter a numeric 'Nudge By' time between %1 and %2 milliseconds").arg(minNudgeMs).arg(maxNudgeMs));
    sldrBPM->setRange(minTempoBpm, maxTempoBpm);
    // Arrows left, right, up and down.
    cmdMinusSldrBPM->setText(QStringLiteral("\u2190"));
    cmdPlusSldrBPM->setText(QStringLiteral("\u2192"));
    cmdNudgeFaster->setText(QStringLiteral("\u2191"));
    cmdNudgeSlower->setText(QStringLiteral("\u2193"));
    txtNudgeMS->setText(QString::number(s.MSNUDGEVALUE));
    sknlblTapStats->clear();
    tempoChannels.taps = TapRun{};
    // Nothing is being sampled when the window opens.
    cmdStopAudIn->setEnabled(false);
    showDeckWidgets();
    startSync();
    mbFormLoading = false;
}

void frmMetronome::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void frmMetronome::mnuFile_Exit_Click()
{
    close();
}

void frmMetronome::Form_Unload()
{
    if (unloading)
        return;
    unloading = true;
    cmdStopAudIn_Click();
    releaseAudioSystem();
    StopMetronome();
    // The Stop has gone out; Link and the MIDI port close with the window, keeping their settings.
    linkSession.reset();
    runStep([this] { midiClockOut.select(QString()); });
    keepStateForSave();
    ShutdownProgram();
}

void frmMetronome::keepStateForSave()
{
    if (const auto nudge = toInt16(txtNudgeMS->text()))
        settings().MSNUDGEVALUE = *nudge;
    savePlacement();
}

} // namespace pulsivar
