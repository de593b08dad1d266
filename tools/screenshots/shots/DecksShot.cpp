// SPDX-License-Identifier: GPL-2.0-or-later
// The detection panel following two decks: a mixer's record output on a stereo input, deck A on
// the left for Channel 1, deck B on the right for Channel 2.
#include "Shot.h"

#include "app/frmMetronome.h"
#include "detect/LevelMeter.h"
#include "platform/SkinLabel.h"
#include "settings/ProgramState.h"
#include "tempo/TempoText.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>

namespace {

std::unique_ptr<QWidget> twoDecks()
{
    pulsivar::settings().PlayBeatSound = false;
    auto window = std::make_unique<pulsivar::frmMetronome>();
    window->Form_Load();
    // The panel as sampling shows it, without opening a real input.
    QSignalBlocker blockTabs(window->tabTempoSource);
    window->tabTempoSource->setCurrentIndex(1);
    window->fraManualTempo->setVisible(false);
    window->fraAudioTempo->setVisible(true);
    window->optChannel[3]->setChecked(true);
    window->lstAudioHardware->addItems({QStringLiteral("0 - Monitor of Built-in Audio Analog Stereo"),
                                        QStringLiteral("1 - USB Audio CODEC Analog Stereo")});
    window->lstAudioHardware->setCurrentRow(1);
    window->sknlblBPM->setText(QStringLiteral("124.03 BPM"));
    window->sknlblAccuracy->setText(QStringLiteral("84% Accuracy"));
    window->skinlblPeakVU->setText(QStringLiteral("71.4% Peak VU"));
    window->sknlblBPM_2->setText(QStringLiteral("125.51 BPM"));
    window->sknlblAccuracy_2->setText(QStringLiteral("78% Accuracy"));
    window->sknlblAudioDecks->setText(QStringLiteral("Two decks: L sets Channel 1, R sets Channel 2"));
    for (QWidget *w : std::initializer_list<QWidget *>{window->sknlblBPM_2, window->sknlblAccuracy_2,
                                                       window->txtAudioBPMBeat_2, window->sknlblAudioDecks})
        w->setVisible(true);
    window->picAudioMeter[0]->setBarColor(Qt::red);
    window->picAudioMeter[1]->setBarColor(Qt::red);
    window->picAudioMeter[0]->setLevel(0.71);
    window->picAudioMeter[1]->setLevel(0.64);
    window->chkHoldAudioBPM->setChecked(true);
    window->txtBPM[1]->setText(QStringLiteral("124.03"));
    window->txtBPM[2]->setText(QStringLiteral("125.51"));
    window->skinlblPercentDifference->setText(
        pulsivar::percentDifferenceText(QStringLiteral("124.03"), QStringLiteral("125.51")));
    window->resize(window->sizeHint());
    return window;
}

const pulsivar::screenshots::ShotRegistration decks{QStringLiteral("decks"), twoDecks};

} // namespace
