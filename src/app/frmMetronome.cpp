#include "app/frmMetronome.h"

#include "app/Startup.h"
#include "app/state/ProgramState.h"
#include "app/state/Version.h"
#include "common/BuildConfig.h"
#include "common/Clock.h"
#include "common/Colors.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
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

int frmMetronome::selectedChannel() const
{
    for (int i = 1; i <= 3; ++i) {
        if (optChannel[i]->isChecked())
            return i;
    }
    return 0;
}

void frmMetronome::Form_Load()
{
    mbFormLoading = true;
    const ProgramSettings &s = settings();
    mnuSkin_SelectedSkin_Click(s.ProgramSkin);
    restorePlacement();
    setWindowTitle(programTitle());
    mnuHelp_Help->setText(QStringLiteral("Pulsivar") + QStringLiteral(" Help"));
    mnuHelp_About->setText(QStringLiteral("About ") + QStringLiteral("Pulsivar"));
    mnu_Skin->setTitle(QStringLiteral("Pulsivar") + QStringLiteral(" window skin"));
    mnuHelp_Website->setText(QString::fromLatin1(build::website));
    StopMetronome();
    mnuOptions_PlayBeatSound->setChecked(s.PlayBeatSound);
    tabTempoSource->setCurrentIndex(0);
    fraManualTempo->setVisible(true);
    fraAudioTempo->setVisible(false);
    mbStopSampling = true;
    txtBPM[1]->clear();
    txtBPM[2]->clear();
    skinlblPercentDifference->setText(QStringLiteral("Enter a tempo for Channels 1 & 2"));
    txtManualTempo->clear();
    txtBeatColor->clear();
    txtManualTempo->setToolTip(QStringLiteral("Enter a BPM value between %1 and %2").arg(sldrBPM->minimum()).arg(sldrBPM->maximum()));
    txtNudgeMS->setToolTip(QStringLiteral("Enter a numeric 'Nudge By' time between %1 and %2 milliseconds").arg(20).arg(300));
    sldrBPM->setRange(30, 250);
    // Arrows left, right, up and down.
    cmdMinusSldrBPM->setText(QStringLiteral("\u2190"));
    cmdPlusSldrBPM->setText(QStringLiteral("\u2192"));
    cmdNudgeFaster->setText(QStringLiteral("\u2191"));
    cmdNudgeSlower->setText(QStringLiteral("\u2193"));
    txtNudgeMS->setText(QString::number(s.MSNUDGEVALUE));
    sknlblTapStats->clear();
    beatClock.malIntervalHistory.fill(0);
    beatClock.miIntervalHistoryIndex = -1;
    resetSilenceTracking();
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
    if (const auto nudge = toInt16(txtNudgeMS->text()))
        settings().MSNUDGEVALUE = *nudge;
    cmdStopAudIn_Click();
    releaseAudioSystem();
    StopMetronome();
    savePlacement();
    ShutdownProgram();
}

} // namespace pulsivar
