// SPDX-License-Identifier: GPL-2.0-or-later
// Builds the main window's widgets and menus and names each as the documentation does.
#include "app/frmMetronome.h"

#include "common/TempoLimits.h"
#include "detect/LevelMeter.h"
#include "metronome/BeatIndicator.h"
#include "platform/SkinCatalog.h"
#include "platform/SkinLabel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace pulsivar {

namespace {

template <typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QPushButton *button(const QString &name, const QString &caption, const QString &toolTip = {})
{
    auto *b = named(new QPushButton(caption), name);
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

QFrame *divider(int index)
{
    auto *line = named(new QFrame, QStringLiteral("picDivider_%1").arg(index));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

void frmMetronome::buildWidgets()
{
    auto label = [this](const QString &text) {
        auto *l = named(new SkinLabel(text), QStringLiteral("skinlblAllFormLabels_%1").arg(skinlblAllFormLabels.size()));
        skinlblAllFormLabels.append(l);
        return l;
    };

    auto *central = named(new QWidget, QStringLiteral("centralWidget"));
    setCentralWidget(central);
    auto *outer = new QVBoxLayout(central);

    fraSelectTempo = named(new QGroupBox(QStringLiteral("Tempo Controls")), QStringLiteral("fraSelectTempo"));
    auto *tempo = new QVBoxLayout(fraSelectTempo);
    outer->addWidget(fraSelectTempo);

    // Channel selector: one group, exactly one selected.
    tempo->addWidget(label(QStringLiteral("Select a channel to apply the tempo to")));
    auto *channels = new QHBoxLayout;
    const QString channelCaptions[] = {{}, QStringLiteral("Channel 1"), QStringLiteral("Channel 2"),
                                       QStringLiteral("L audio uses chan 1  R audio uses chan 2")};
    const QString channelTips[] = {{}, QStringLiteral("Set the tempo for Channel 1"),
                                   QStringLiteral("Set the tempo for Channel 2"),
                                   QStringLiteral("Audio input Left & Right signals will be used for Channel 1 & Channel 2 respectively")};
    for (int i = 1; i <= 3; ++i) {
        optChannel[i] = named(new QRadioButton(channelCaptions[i]), QStringLiteral("optChannel_%1").arg(i));
        optChannel[i]->setToolTip(channelTips[i]);
        channels->addWidget(optChannel[i]);
        // The selection follows the buttons however they change, before any handler runs.
        connect(optChannel[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                tempoChannels.select(i);
        });
        connect(optChannel[i], &QRadioButton::clicked, this, [this, i] { optChannel_Click(i); });
    }
    optChannel[1]->setChecked(true);
    channels->addStretch();
    tempo->addLayout(channels);

    tabTempoSource = named(new QTabBar, QStringLiteral("tabTempoSource"));
    tabTempoSource->addTab(QStringLiteral("Manual tempo input"));
    tabTempoSource->addTab(QStringLiteral("Automatic tempo detection"));
    tabTempoSource->setTabToolTip(0, QStringLiteral("Manually tap or enter a BPM value"));
    tabTempoSource->setTabToolTip(1, QStringLiteral("Use the computer's \"Stereo Mix\" audio input to determine a BPM value"));
    tabTempoSource->setExpanding(false);
    tempo->addWidget(tabTempoSource);

    // Both panels share one place; the tab strip shows one of them.
    auto *panels = new QGridLayout;
    panels->setContentsMargins(0, 0, 0, 0);
    tempo->addLayout(panels);

    fraManualTempo = named(new QFrame, QStringLiteral("fraManualTempo"));
    fraManualTempo->setFrameShape(QFrame::StyledPanel);
    auto *manual = new QGridLayout(fraManualTempo);
    manual->addWidget(label(QStringLiteral("Enter a tempo by pressing the button on beat")), 0, 0, 1, 4);
    cmdTempoTap = button(QStringLiteral("cmdTempoTap"), QStringLiteral("Tempo Tap"));
    cmdTempoTap->setMinimumHeight(34);
    manual->addWidget(cmdTempoTap, 1, 0, 1, 2);
    sknlblTapStats = named(new SkinLabel(QStringLiteral("<Tempo Tap statistics>")), QStringLiteral("sknlblTapStats"));
    sknlblTapStats->setTextFormat(Qt::PlainText);
    manual->addWidget(sknlblTapStats, 1, 2, 1, 2);
    manual->addWidget(divider(0), 2, 0, 1, 4);
    manual->addWidget(label(QStringLiteral("Drag the pointer to select a Beats Per Minute tempo")), 3, 0, 1, 4);
    cmdMinusSldrBPM = button(QStringLiteral("cmdMinusSldrBPM"), QString(),
                             QStringLiteral("Decrement the current BPM by 1 (Syncs metronome with beat 1)"));
    cmdPlusSldrBPM = button(QStringLiteral("cmdPlusSldrBPM"), QString(),
                            QStringLiteral("Increment the current BPM by 1 (Syncs metronome with beat 1)"));
    sldrBPM = named(new QSlider(Qt::Horizontal), QStringLiteral("sldrBPM"));
    sldrBPM->setRange(minTempoBpm, maxTempoBpm);
    sldrBPM->setSingleStep(1);
    sldrBPM->setPageStep(10);
    sldrBPM->setTickInterval(10);
    sldrBPM->setTickPosition(QSlider::TicksBelow);
    sldrBPM->setValue(120);
    // Like a drag's end: the tempo changes when the pointer is let go, not at every step.
    sldrBPM->setTracking(false);
    auto *sliderRow = new QHBoxLayout;
    sliderRow->addWidget(cmdMinusSldrBPM);
    sliderRow->addWidget(sldrBPM, 1);
    sliderRow->addWidget(cmdPlusSldrBPM);
    manual->addLayout(sliderRow, 4, 0, 1, 4);
    manual->addWidget(divider(1), 5, 0, 1, 4);
    manual->addWidget(label(QStringLiteral("Type a tempo")), 6, 0);
    txtManualTempo = named(new QLineEdit, QStringLiteral("txtManualTempo"));
    txtManualTempo->setMaximumWidth(60);
    txtManualTempo->setAlignment(Qt::AlignCenter);
    manual->addWidget(txtManualTempo, 6, 1);
    cmdUseManualTempo = button(QStringLiteral("cmdUseManualTempo"), QStringLiteral("Use"));
    manual->addWidget(cmdUseManualTempo, 6, 2);
    auto *halveDouble = new QHBoxLayout;
    cmdDivided2 = button(QStringLiteral("cmdDivided2"), QStringLiteral("/ 2"),
                         QStringLiteral("Divide the tempo value by 2 (Half Time)"));
    cmdTimes2 = button(QStringLiteral("cmdTimes2"), QStringLiteral("* 2"),
                       QStringLiteral("Multiply the tempo value by 2 (Double Time)"));
    halveDouble->addWidget(cmdDivided2);
    halveDouble->addWidget(cmdTimes2);
    manual->addLayout(halveDouble, 6, 3);
    panels->addWidget(fraManualTempo, 0, 0);

    fraAudioTempo = named(new QFrame, QStringLiteral("fraAudioTempo"));
    fraAudioTempo->setFrameShape(QFrame::StyledPanel);
    auto *audio = new QGridLayout(fraAudioTempo);
    audio->addWidget(label(QStringLiteral("Audio Hardware Devices")), 0, 0, 1, 3);
    lstAudioHardware = named(new QListWidget, QStringLiteral("lstAudioHardware"));
    lstAudioHardware->setMaximumHeight(64);
    audio->addWidget(lstAudioHardware, 1, 0, 2, 3);
    cmdStartAudIn = button(QStringLiteral("cmdStartAudIn"), QStringLiteral("Start Sampling"),
                           QStringLiteral("Start automatic tempo detection, once an audio input is available"));
    cmdStopAudIn = button(QStringLiteral("cmdStopAudIn"), QStringLiteral("Stop Sampling"),
                          QStringLiteral("Stop sampling audio input for automatic tempo detection"));
    audio->addWidget(cmdStartAudIn, 1, 3);
    audio->addWidget(cmdStopAudIn, 2, 3);
    for (int i = 0; i < 2; ++i) {
        audio->addWidget(label(i == 0 ? QStringLiteral("L:") : QStringLiteral("R:")), 3 + i, 0);
        picAudioMeter[i] = named(new LevelMeter, QStringLiteral("picAudioMeter_%1").arg(i));
        audio->addWidget(picAudioMeter[i], 3 + i, 1, 1, 3);
    }
    sknlblBPM = named(new SkinLabel(QStringLiteral("000.00 BPM")), QStringLiteral("sknlblBPM"));
    sknlblBPM->setToolTip(QStringLiteral("Beats Per Minute detected for the input audio stream"));
    sknlblAccuracy = named(new SkinLabel(QStringLiteral("0% Accuracy")), QStringLiteral("sknlblAccuracy"));
    sknlblAccuracy->setToolTip(QStringLiteral("BPM calculation accuracy"));
    skinlblPeakVU = named(new SkinLabel(QStringLiteral("0.0% Peak VU")), QStringLiteral("skinlblPeakVU"));
    skinlblPeakVU->setToolTip(QStringLiteral("BPM calculation accuracy"));
    audio->addWidget(sknlblBPM, 5, 0, 1, 2);
    audio->addWidget(sknlblAccuracy, 5, 2);
    audio->addWidget(skinlblPeakVU, 5, 3);
    txtAudioBPMBeat = named(new QLineEdit(QStringLiteral("Beat")), QStringLiteral("txtAudioBPMBeat"));
    txtAudioBPMBeat->setToolTip(QStringLiteral("Color change indicates a detected beat"));
    txtAudioBPMBeat->setReadOnly(true);
    txtAudioBPMBeat->setAlignment(Qt::AlignCenter);
    txtAudioBPMBeat->setMaximumWidth(60);
    txtAudioBPMBeat->setProperty("skinExempt", true);
    chkHoldAudioBPM = named(new QCheckBox(QStringLiteral("Hold")), QStringLiteral("chkHoldAudioBPM"));
    chkHoldAudioBPM->setToolTip(QStringLiteral("Constantly monitor and use the sampled BPM for the currently selected Channel"));
    cmdSetAudioInTempo = button(QStringLiteral("cmdSetAudioInTempo"), QStringLiteral("Use BPM"),
                                QStringLiteral("Immediately use the detected BPM value for the selected channel"));
    audio->addWidget(txtAudioBPMBeat, 6, 0);
    audio->addWidget(chkHoldAudioBPM, 6, 1);
    audio->addWidget(cmdSetAudioInTempo, 6, 2, 1, 2);
    sknlblBPM_2 = named(new SkinLabel(QStringLiteral("000.00 BPM")), QStringLiteral("sknlblBPM_2"));
    sknlblBPM_2->setToolTip(QStringLiteral("Beats Per Minute detected for the right side of the input (Channel 2)"));
    sknlblAccuracy_2 = named(new SkinLabel(QStringLiteral("0% Accuracy")), QStringLiteral("sknlblAccuracy_2"));
    sknlblAccuracy_2->setToolTip(QStringLiteral("BPM calculation accuracy of the right side"));
    txtAudioBPMBeat_2 = named(new QLineEdit(QStringLiteral("Beat")), QStringLiteral("txtAudioBPMBeat_2"));
    txtAudioBPMBeat_2->setToolTip(QStringLiteral("Color change indicates a beat detected on the right side"));
    txtAudioBPMBeat_2->setReadOnly(true);
    txtAudioBPMBeat_2->setAlignment(Qt::AlignCenter);
    txtAudioBPMBeat_2->setMaximumWidth(60);
    txtAudioBPMBeat_2->setProperty("skinExempt", true);
    sknlblAudioDecks = named(new SkinLabel(QString()), QStringLiteral("sknlblAudioDecks"));
    sknlblAudioDecks->setToolTip(QStringLiteral("What the two sides of the input carry"));
    audio->addWidget(sknlblBPM_2, 7, 0, 1, 2);
    audio->addWidget(sknlblAccuracy_2, 7, 2);
    audio->addWidget(txtAudioBPMBeat_2, 7, 3);
    audio->addWidget(sknlblAudioDecks, 8, 0, 1, 4);
    cmdSyncToAudio = button(
        QStringLiteral("cmdSyncToAudio"), QStringLiteral("Sync to music"),
        QStringLiteral("Use the detected BPM for the selected channel and put its beat on the music's beat (F9)"));
    cmdSyncToAudio->setShortcut(QKeySequence(Qt::Key_F9));
    chkKeepSyncAudio = named(new QCheckBox(QStringLiteral("Keep in sync")), QStringLiteral("chkKeepSyncAudio"));
    chkKeepSyncAudio->setToolTip(
        QStringLiteral("Keep correcting the tempo and beat of the selected channel gently while the music plays"));
    audio->addWidget(cmdSyncToAudio, 9, 0, 1, 2);
    audio->addWidget(chkKeepSyncAudio, 9, 2, 1, 2);
    panels->addWidget(fraAudioTempo, 0, 0);

    auto *controls = new QGridLayout;
    controls->addWidget(divider(2), 0, 0, 1, 5);
    controls->addWidget(label(QStringLiteral("Metronome Controls")), 1, 0);
    cmdStartMetronome = button(QStringLiteral("cmdStartMetronome"), QStringLiteral("Start / Sync"),
                               QStringLiteral("Start the metronome if it's stopped, or syncronize it with beat 1 if it is active"));
    cmdStopMetronome = button(QStringLiteral("cmdStopMetronome"), QStringLiteral("Stop"),
                              QStringLiteral("Stop the metronome (will not clear settings)"));
    controls->addWidget(cmdStartMetronome, 1, 1, 1, 2);
    controls->addWidget(cmdStopMetronome, 1, 3, 1, 2);
    controls->addWidget(label(QStringLiteral("Nudge Milliseconds")), 2, 0);
    cmdNudgeFaster = button(QStringLiteral("cmdNudgeFaster"), QString(),
                            QStringLiteral("Nudge the metronome slightly ahead  (won't change tempo)"));
    cmdNudgeSlower = button(QStringLiteral("cmdNudgeSlower"), QString(),
                            QStringLiteral("Nudge the metronome slightly behind  (won't change tempo)"));
    txtNudgeMS = named(new QLineEdit, QStringLiteral("txtNudgeMS"));
    txtNudgeMS->setMaximumWidth(60);
    txtNudgeMS->setAlignment(Qt::AlignCenter);
    chkAllowNudgeCalc = named(new QCheckBox(QStringLiteral("Calculate")), QStringLiteral("chkAllowNudgeCalc"));
    chkAllowNudgeCalc->setToolTip(QStringLiteral("Allow dynamic nudge millisecond time calculation based on BPM"));
    controls->addWidget(cmdNudgeFaster, 2, 1);
    controls->addWidget(cmdNudgeSlower, 2, 2);
    controls->addWidget(txtNudgeMS, 2, 3);
    controls->addWidget(chkAllowNudgeCalc, 2, 4);
    tempo->addLayout(controls);

    // Channel boxes, beat indicator and comparison, under the frame.
    auto *bottom = new QGridLayout;
    outer->addLayout(bottom);
    for (int i = 1; i <= 2; ++i) {
        bottom->addWidget(label(QStringLiteral("Channel %1 BPM:").arg(i)), i - 1, 0);
        txtBPM[i] = named(new QLineEdit, QStringLiteral("txtBPM_%1").arg(i));
        txtBPM[i]->setReadOnly(true);
        // A display: no focus, no cursor, so nothing typed can seem to go in.
        txtBPM[i]->setFocusPolicy(Qt::NoFocus);
        txtBPM[i]->setMaximumWidth(70);
        txtBPM[i]->setAlignment(Qt::AlignCenter);
        txtBPM[i]->setToolTip(QStringLiteral("Current BPM value for Channel %1").arg(i));
        bottom->addWidget(txtBPM[i], i - 1, 1);
    }
    txtBeatColor = named(new BeatIndicator, QStringLiteral("txtBeatColor"));
    txtBeatColor->setMinimumSize(64, 52);
    txtBeatColor->setBeatPointSize(24);
    txtBeatColor->setMaximumWidth(160);
    bottom->addWidget(txtBeatColor, 0, 2, 2, 1);
    bottom->addWidget(divider(3), 2, 0, 1, 3);
    bottom->addWidget(label(QStringLiteral("Tempo Output & Statistics:")), 3, 0, 1, 3);
    skinlblPercentDifference = named(new SkinLabel, QStringLiteral("skinlblPercentDifference"));
    bottom->addWidget(skinlblPercentDifference, 4, 0, 1, 3);
    sknlblLinkStatus = named(new SkinLabel, QStringLiteral("sknlblLinkStatus"));
    sknlblLinkStatus->setTextFormat(Qt::PlainText);
    bottom->addWidget(sknlblLinkStatus, 5, 0, 1, 3);
    bottom->setColumnStretch(2, 1);

    cmdDummyTabStop = button(QStringLiteral("cmdDummyTabStop"), QStringLiteral("Dummy Tab Stop"));
    cmdDummyTabStop->setParent(central);
    cmdDummyTabStop->setFixedSize(0, 0);

    // Shows each beat when it sounds; armed anew for every beat from the beat grid.
    oBeatTimer = named(new QTimer(this), QStringLiteral("oBeatTimer"));
    oBeatTimer->setTimerType(Qt::PreciseTimer);
    oBeatTimer->setSingleShot(true);
    oAudioInTimer = named(new QTimer(this), QStringLiteral("oAudioInTimer"));
    oAudioInTimer->setInterval(200);

    connect(oBeatTimer, &QTimer::timeout, this, &frmMetronome::oBeatTimer_Timer);
    connect(oAudioInTimer, &QTimer::timeout, this, &frmMetronome::oAudioInTimer_Timer);
    linkTimer = named(new QTimer(this), QStringLiteral("linkTimer"));
    linkTimer->setInterval(100);
    connect(linkTimer, &QTimer::timeout, this, &frmMetronome::linkTimer_Timer);
    connect(cmdStartMetronome, &QPushButton::clicked, this, &frmMetronome::cmdStartMetronome_Click);
    connect(cmdStopMetronome, &QPushButton::clicked, this, &frmMetronome::cmdStopMetronome_Click);
    connect(cmdNudgeFaster, &QPushButton::clicked, this, &frmMetronome::cmdNudgeFaster_Click);
    connect(cmdNudgeSlower, &QPushButton::clicked, this, &frmMetronome::cmdNudgeSlower_Click);
    connect(chkAllowNudgeCalc, &QCheckBox::clicked, this, &frmMetronome::chkAllowNudgeCalc_Click);
    connect(txtNudgeMS, &QLineEdit::editingFinished, this, &frmMetronome::txtNudgeMS_Validate);
    connect(cmdTempoTap, &QPushButton::clicked, this, &frmMetronome::cmdTempoTap_Click);
    connect(cmdMinusSldrBPM, &QPushButton::clicked, this, &frmMetronome::cmdMinusSldrBPM_Click);
    connect(cmdPlusSldrBPM, &QPushButton::clicked, this, &frmMetronome::cmdPlusSldrBPM_Click);
    connect(sldrBPM, &QSlider::valueChanged, this, &frmMetronome::sldrBPM_Change);
    connect(sldrBPM, &QSlider::sliderReleased, this, &frmMetronome::sldrBPM_MouseUp);
    connect(cmdDivided2, &QPushButton::clicked, this, &frmMetronome::cmdDivided2_Click);
    connect(cmdTimes2, &QPushButton::clicked, this, &frmMetronome::cmdTimes2_Click);
    connect(cmdUseManualTempo, &QPushButton::clicked, this, &frmMetronome::cmdUseManualTempo_Click);
    connect(tabTempoSource, &QTabBar::currentChanged, this, &frmMetronome::tabTempoSource_Click);
    connect(cmdStartAudIn, &QPushButton::clicked, this, &frmMetronome::cmdStartAudIn_Click);
    connect(cmdStopAudIn, &QPushButton::clicked, this, &frmMetronome::cmdStopAudIn_Click);
    connect(lstAudioHardware, &QListWidget::itemClicked, this, &frmMetronome::lstAudioHardware_Click);
    connect(lstAudioHardware, &QListWidget::currentRowChanged, this, &frmMetronome::lstAudioHardware_Change);
    connect(cmdSyncToAudio, &QPushButton::clicked, this, &frmMetronome::cmdSyncToAudio_Click);
    connect(chkHoldAudioBPM, &QCheckBox::clicked, this, &frmMetronome::chkHoldAudioBPM_Click);
    connect(cmdSetAudioInTempo, &QPushButton::clicked, this, &frmMetronome::cmdSetAudioInTempo_Click);

    connect(txtManualTempo, &QLineEdit::textEdited, this,
            [this](const QString &text) { typingBoxEdited(txtManualTempo, text, manualTempoMaxLength); });
    connect(txtNudgeMS, &QLineEdit::textEdited, this, [this](const QString &text) { typingBoxEdited(txtNudgeMS, text, 0); });

    txtManualTempo->installEventFilter(this);
    txtNudgeMS->installEventFilter(this);
    sldrBPM->installEventFilter(this);
    cmdTempoTap->installEventFilter(this);
}

void frmMetronome::buildMenus()
{
    auto action = [this](QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut,
                         void (frmMetronome::*handler)()) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        if (!shortcut.isEmpty())
            a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuFile_Exit = action(file, QStringLiteral("mnuFile_Exit"), QStringLiteral("&Exit"), {}, &frmMetronome::mnuFile_Exit_Click);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    mnuTools_HarmonicMixing = action(tools, QStringLiteral("mnuTools_HarmonicMixing"), QStringLiteral("Harmonic Key Mixing"),
                                     QKeySequence(QStringLiteral("Ctrl+H")), &frmMetronome::mnuTools_HarmonicMixing_Click);

    // The transport, with keys that never count as a tap.
    QMenu *metronome = menuBar()->addMenu(QStringLiteral("&Metronome"));
    metronome->setObjectName(QStringLiteral("mnuMetronome"));
    mnuMetronome_Start = action(metronome, QStringLiteral("mnuMetronome_Start"), QStringLiteral("&Start / Sync"),
                                QKeySequence(Qt::Key_F5), &frmMetronome::cmdStartMetronome_Click);
    mnuMetronome_Stop = action(metronome, QStringLiteral("mnuMetronome_Stop"), QStringLiteral("S&top"),
                               QKeySequence(Qt::Key_F6), &frmMetronome::cmdStopMetronome_Click);
    metronome->addSeparator();
    mnuMetronome_NudgeAhead = action(metronome, QStringLiteral("mnuMetronome_NudgeAhead"), QStringLiteral("Nudge &ahead"),
                                     QKeySequence(Qt::Key_F7), &frmMetronome::cmdNudgeFaster_Click);
    mnuMetronome_NudgeBehind = action(metronome, QStringLiteral("mnuMetronome_NudgeBehind"),
                                      QStringLiteral("Nudge &behind"), QKeySequence(Qt::Key_F8),
                                      &frmMetronome::cmdNudgeSlower_Click);

    QMenu *options = menuBar()->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    mnu_Skin = options->addMenu(QStringLiteral("Skin"));
    mnu_Skin->setObjectName(QStringLiteral("mnu_Skin"));
    for (const SkinEntry &skin : skinCatalog()) {
        const int id = skin.id;
        QAction *a = mnu_Skin->addAction(skinCaption(id));
        a->setObjectName(QStringLiteral("mnuSkin_SelectedSkin_%1").arg(id));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, id] { mnuSkin_SelectedSkin_Click(id); });
        mnuSkin_SelectedSkin.insert(id, a);
    }
    options->addSeparator();
    mnuOptions_TimeSignitures = action(options, QStringLiteral("mnuOptions_TimeSignitures"), QStringLiteral("&Measure configuration..."),
                                       QKeySequence(QStringLiteral("Ctrl+M")), &frmMetronome::mnuOptions_TimeSignitures_Click);
    mnuOptions_AutoBPMConfig = action(options, QStringLiteral("mnuOptions_AutoBPMConfig"), QStringLiteral("&Auto BPM detection configuration..."),
                                      QKeySequence(QStringLiteral("Ctrl+D")), &frmMetronome::mnuOptions_AutoBPMConfig_Click);
    options->addSeparator();
    mnuOptions_PlayBeatSound = action(options, QStringLiteral("mnuOptions_PlayBeatSound"), QStringLiteral("&Play beat sound"),
                                      QKeySequence(QStringLiteral("Ctrl+S")), &frmMetronome::mnuOptions_PlayBeatSound_Click);
    mnuOptions_PlayBeatSound->setCheckable(true);
    connect(mnuOptions_PlayBeatSound, &QAction::toggled, this, &frmMetronome::beatSoundSwitched);
    // The outputs are listed afresh each time the menu opens: headphones come and go.
    mnuOptions_ClickOutput = options->addMenu(QStringLiteral("&Click output"));
    mnuOptions_ClickOutput->setObjectName(QStringLiteral("mnuOptions_ClickOutput"));
    connect(mnuOptions_ClickOutput, &QMenu::aboutToShow, this, &frmMetronome::listClickOutputs);
    options->addSeparator();
    mnuOptions_AbletonLink = action(options, QStringLiteral("mnuOptions_AbletonLink"), QStringLiteral("Ableton &Link"),
                                    {}, &frmMetronome::mnuOptions_AbletonLink_Click);
    mnuOptions_AbletonLink->setCheckable(true);
    // Ports are listed afresh each time the menu opens: JACK clients and gear come and go.
    mnuOptions_MidiClockOut = options->addMenu(QStringLiteral("MIDI clock out"));
    mnuOptions_MidiClockOut->setObjectName(QStringLiteral("mnuOptions_MidiClockOut"));
    connect(mnuOptions_MidiClockOut, &QMenu::aboutToShow, this, &frmMetronome::listMidiClockPorts);
    options->addSeparator();
    mnuOptions_Undock = action(options, QStringLiteral("mnuOptions_Undock"), QStringLiteral("&Undock tempo display"),
                               QKeySequence(QStringLiteral("Ctrl+U")), &frmMetronome::mnuOptions_Undock_Click);
    mnuOptions_Undock->setCheckable(true);
    mnuOptions_AlwaysOnTop = action(options, QStringLiteral("mnuOptions_AlwaysOnTop"), QStringLiteral("&Always on top"),
                                    QKeySequence(QStringLiteral("Ctrl+T")), &frmMetronome::mnuOptions_AlwaysOnTop_Click);
    mnuOptions_AlwaysOnTop->setCheckable(true);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp_Help = action(help, QStringLiteral("mnuHelp_Help"), QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
                          &frmMetronome::mnuHelp_Help_Click);
    mnuHelp_CheckProgUpdates = action(help, QStringLiteral("mnuHelp_CheckProgUpdates"), QStringLiteral("Check Internet for program &updates"),
                                      {}, &frmMetronome::mnuHelp_CheckProgUpdates_Click);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelp_Divider0"));
    mnuHelp_Website = action(help, QStringLiteral("mnuHelp_Website"), QString(), {}, &frmMetronome::mnuHelp_Website_Click);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelp_Divider1"));
    mnuHelp_About = action(help, QStringLiteral("mnuHelp_About"), QStringLiteral("About"), {}, &frmMetronome::mnuHelp_About_Click);
}

} // namespace pulsivar
