// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window: the metronome, both tempo channels, the tempo sources and the menus.
#include <QMainWindow>
#include <QMap>
#include <cstdint>
#include <memory>

#include "detect/DetectionRun.h"
#include "metronome/BeatGrid.h"
#include "tempo/MusicSync.h"
#include "sync/MidiClockOut.h"
#include "tempo/TempoChannels.h"

#include <QColor>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabBar;
class QTimer;

namespace pulsivar {

class BeatIndicator;
class frmUndocked;
class LevelMeter;
class LinkSession;
class SkinLabel;

class frmMetronome : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMetronome(QWidget *parent = nullptr);
    ~frmMetronome() override;

    // Beat clock. An interval in ms: a tap's (joining the tap run), or any other, whose exact tempo
    // is 60000 / interval.
    void StartMetronome(int32_t lCurrMSInterval, bool bTappingTempo, int16_t iStartBeat);
    // The same for an exact tempo (a typed, detected or selected channel's tempo), and for a
    // tap's exact interval.
    void startAtTempo(double bpm, int16_t iStartBeat);
    void startTapped(double intervalMs);
    void StopMetronome();
    bool isMetronomeRunning() const;
    // The start beat of the resync rule: 1 when stopped, 2 when running.
    int16_t resyncStartBeat() const { return isMetronomeRunning() ? 2 : 1; }

    void CheckForProgramUpdates();
    // What the settings keep of the window itself (the nudge box, the placement), for a save
    // that does not unload it.
    void keepStateForSave();

    // The state the window shows and forwards its events to.
    TempoChannels &channels() { return tempoChannels; }
    BeatGrid &beatGrid() { return grid; }
    DetectionRun &detection() { return detectionRun; }

    // Set while StartMetronome runs, so the change events of its own updates start nothing.
    bool mbStartingMetronome = false;
    // Set while Form_Load runs, so the events of its own updates do nothing.
    bool mbFormLoading = false;

    // Widgets, named as the program's documentation names them.
    QGroupBox *fraSelectTempo = nullptr;
    QFrame *fraManualTempo = nullptr;
    QFrame *fraAudioTempo = nullptr;
    QTabBar *tabTempoSource = nullptr;
    QRadioButton *optChannel[4] = {};
    QLineEdit *txtBPM[3] = {};
    BeatIndicator *txtBeatColor = nullptr;
    SkinLabel *skinlblPercentDifference = nullptr;
    SkinLabel *sknlblTapStats = nullptr;
    SkinLabel *sknlblLinkStatus = nullptr;
    QPushButton *cmdTempoTap = nullptr;
    QPushButton *cmdDivided2 = nullptr;
    QPushButton *cmdTimes2 = nullptr;
    QPushButton *cmdUseManualTempo = nullptr;
    QLineEdit *txtManualTempo = nullptr;
    QPushButton *cmdPlusSldrBPM = nullptr;
    QPushButton *cmdMinusSldrBPM = nullptr;
    QSlider *sldrBPM = nullptr;
    QLineEdit *txtAudioBPMBeat = nullptr;
    QCheckBox *chkHoldAudioBPM = nullptr;
    QPushButton *cmdSetAudioInTempo = nullptr;
    QPushButton *cmdStopAudIn = nullptr;
    QPushButton *cmdStartAudIn = nullptr;
    QListWidget *lstAudioHardware = nullptr;
    LevelMeter *picAudioMeter[2] = {};
    SkinLabel *sknlblBPM = nullptr;
    SkinLabel *sknlblAccuracy = nullptr;
    SkinLabel *skinlblPeakVU = nullptr;
    // The right side's deck while "L audio uses chan 1  R audio uses chan 2" is chosen, and what
    // the two sides are (two decks, or one signal on both).
    SkinLabel *sknlblBPM_2 = nullptr;
    SkinLabel *sknlblAccuracy_2 = nullptr;
    QLineEdit *txtAudioBPMBeat_2 = nullptr;
    SkinLabel *sknlblAudioDecks = nullptr;
    QPushButton *cmdSyncToAudio = nullptr;
    QCheckBox *chkKeepSyncAudio = nullptr;
    QPushButton *cmdStartMetronome = nullptr;
    QPushButton *cmdStopMetronome = nullptr;
    QPushButton *cmdNudgeFaster = nullptr;
    QPushButton *cmdNudgeSlower = nullptr;
    QLineEdit *txtNudgeMS = nullptr;
    QCheckBox *chkAllowNudgeCalc = nullptr;
    QPushButton *cmdDummyTabStop = nullptr;
    QList<SkinLabel *> skinlblAllFormLabels;
    QTimer *oBeatTimer = nullptr;
    QTimer *oAudioInTimer = nullptr;
    // Follows the Link session (peers, tempo, phase) while Link is on.
    QTimer *linkTimer = nullptr;

    QMenu *mnu_Skin = nullptr;
    QAction *mnuFile_Exit = nullptr;
    QAction *mnuTools_HarmonicMixing = nullptr;
    QMap<int, QAction *> mnuSkin_SelectedSkin;
    QAction *mnuMetronome_Start = nullptr;
    QAction *mnuMetronome_Stop = nullptr;
    QAction *mnuMetronome_NudgeAhead = nullptr;
    QAction *mnuMetronome_NudgeBehind = nullptr;
    QAction *mnuOptions_TimeSignitures = nullptr;
    QAction *mnuOptions_AutoBPMConfig = nullptr;
    QAction *mnuOptions_PlayBeatSound = nullptr;
    QMenu *mnuOptions_ClickOutput = nullptr;
    QAction *mnuOptions_AbletonLink = nullptr;
    QMenu *mnuOptions_MidiClockOut = nullptr;
    QAction *mnuOptions_Undock = nullptr;
    QAction *mnuOptions_AlwaysOnTop = nullptr;
    QAction *mnuHelp_Help = nullptr;
    QAction *mnuHelp_CheckProgUpdates = nullptr;
    QAction *mnuHelp_Website = nullptr;
    QAction *mnuHelp_About = nullptr;

    // The typing box for a tempo holds at most this many characters.
    static constexpr int manualTempoMaxLength = 3;

    // The selected channel: 1, 2, or 3 for the left/right audio option.
    int selectedChannel() const { return tempoChannels.selected(); }
    // The beat timer's period in ms; 0 while stopped.
    int beatTimerInterval() const;

public slots:
    void Form_Load();
    void Form_Unload();
    void mnuFile_Exit_Click();

    void oBeatTimer_Timer();
    void cmdStartMetronome_Click();
    void cmdStopMetronome_Click();

    void cmdNudgeFaster_Click();
    void cmdNudgeSlower_Click();
    void ValidateNudgeBox();
    void CalculateDynamicNudge();
    void txtNudgeMS_Validate();
    void chkAllowNudgeCalc_Click();

    void cmdTempoTap_Click();
    void cmdMinusSldrBPM_Click();
    void cmdPlusSldrBPM_Click();
    void sldrBPM_Change();
    void sldrBPM_MouseUp();
    void cmdDivided2_Click();
    void cmdTimes2_Click();
    void cmdUseManualTempo_Click();
    void optChannel_Click(int Index);
    void UpdatePercentDifference();
    void ApplyDetectedBPM(QString &sBPM);
    void RegisterTempoTap();

    void tabTempoSource_Click();
    void cmdStartAudIn_Click();
    void cmdStopAudIn_Click();
    void lstAudioHardware_Click();
    void oAudioInTimer_Timer();
    void chkHoldAudioBPM_Click();
    void cmdSetAudioInTempo_Click();
    // Another device chosen in the list; a run going on moves to it at once.
    void lstAudioHardware_Change();
    // The selected channel takes the detected tempo and its beats fall on the detected ones.
    void cmdSyncToAudio_Click();

    void mnuTools_HarmonicMixing_Click();
    void mnuSkin_SelectedSkin_Click(int Index);
    void mnuOptions_TimeSignitures_Click();
    void mnuOptions_AutoBPMConfig_Click();
    void mnuOptions_PlayBeatSound_Click();
    // Fills the click output menu: "System default" and one entry an output, the chosen one checked.
    void listClickOutputs();
    // An output chosen from it; an empty name is the system default.
    void mnuOptions_ClickOutput_Click(const QString &name);
    // Ableton Link on or off, as the menu entry's check says.
    void mnuOptions_AbletonLink_Click();
    // Fills the MIDI clock menu: "Off", the port of its own and one entry an output port.
    void listMidiClockPorts();
    // A port chosen from it; an empty name is off.
    void mnuOptions_MidiClockOut_Click(const QString &port);
    void linkTimer_Timer();
    // The Link session, while Link is on (tests read it).
    LinkSession *link() const { return linkSession.get(); }
    MidiClockOut &midiClock() { return midiClockOut; }
    void mnuOptions_Undock_Click();
    void mnuOptions_AlwaysOnTop_Click();
    void mnuHelp_Help_Click();
    void mnuHelp_CheckProgUpdates_Click();
    void mnuHelp_Website_Click();
    void mnuHelp_About_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWidgets();
    void buildMenus();
    // Key presses of the window and its boxes; true when the key was consumed.
    bool Form_KeyPress(QKeyEvent *event);
    bool txtManualTempo_KeyPress(QKeyEvent *event);
    bool txtNudgeMS_KeyPress(QKeyEvent *event);
    bool sldrBPM_KeyDown(QKeyEvent *event);
    // The numeric key filter: true when the key may go into the box; refuses with a message.
    bool NumericKeyFilter(QKeyEvent *event);
    void showBadInput();
    // A typing box's text changed by the user: a paste or drop that is not a number is undone.
    void typingBoxEdited(QLineEdit *box, const QString &text, int maxLength);
    // A tap, timed at tapSeconds on the monotonic clock.
    void registerTapAt(double tapSeconds);
    // The mouse or Space pressed on the tap button: a tap at that moment. Returns whether the
    // event is used up.
    bool cmdTempoTap_Press(QEvent *event);
    // Moves every later beat by the nudge amount: -1 ahead (earlier), +1 behind.
    void nudgeClick(int direction);
    // The one way a tempo reaches the channel and the beat grid.
    void runTempo(double bpm, int16_t iStartBeat);
    // Hands the grid to the sound engine when it changed, with the beat sound's switch.
    void publishBeat();
    // The display's timer, for when the next beat sounds.
    void armBeatTimer();
    void stepTempo(int delta);
    void applyManualTempoText();
    // Steps of other subsystems that the window's own handlers call.
    frmUndocked &undocked();
    void restorePlacement();
    void savePlacement();
    void releaseAudioSystem();
    void extractWaveFilesForBeat();
    void loadBeatSounds();
    // Says in the status bar when the chosen output was gone and the default one plays.
    void reportClickOutputFallback();
    // The beat sound's check mark changed, from the menu or the undocked display.
    void beatSoundSwitched(bool on);
    void mirrorBeatOnUndocked();
    void mirrorStopOnUndocked();

    TempoChannels tempoChannels;
    BeatGrid grid;
    DetectionRun detectionRun;
    uint64_t publishedSerial = 0;
    // The tap button's own press has tapped; its click that follows does not again.
    bool tapTakenByPress = false;
    bool unloading = false;
    bool undockedConnected = false;

    // ---- Ableton Link and MIDI clock out (frmMetronomeSync.cpp) ----
    // Opens what the settings choose, at start-up.
    void startSync();
    void switchLink(bool on);
    // A tempo of ours goes to the session, and the run just started lands on the session's beats.
    void shareTempo(double bpm, double nowSeconds);
    // Moves the beats still to come onto the session's, by less than half a beat.
    void alignToLink(double nowSeconds);
    void showLinkPeers();
    std::unique_ptr<LinkSession> linkSession;
    MidiClockOut midiClockOut;
    // The session tempo last seen, and whether a tempo being run came from the session.
    double linkTempoSeen = 0;
    bool tempoFromLink = false;

    // ---- Automatic tempo detection (frmMetronomeDetect.cpp) ----
    void InitAudioEngine();
    // Starts a sampling run; the capture timer then delivers every recorded block in order.
    void SampleAudioInput();
    // One pass of the capture loop.
    void captureTimer_Timer();
    // A run has ended: meters cleared, the poll stopped, the buttons back.
    void samplingEnded();
    void reportSamplingFailure(const QString &description);
    void drawAudioMeters(int32_t leftPeak, int32_t rightPeak);
    void setBeatLight(const QColor &color, int side = 0);
    void showSilence();
    // One side's detector on its labels and light; a held tempo goes into its channel.
    void showDeck(int side);
    // The right side's widgets show while the two sides are two decks.
    void showDeckWidgets();
    // Ends the run going on and starts one on the device and with the options chosen now.
    void restartSampling();
    // A detected tempo text into a channel's exact tempo and box.
    void applyDetectedTempo(int channel, const QString &sBPM);
    // The detector side whose beat the selected channel follows.
    int syncSide() const;
    // "Keep in sync": one gentle correction of the beats towards the music's; a pending sync first.
    void followMusic();
    // The selected channel's tempo and beats set to the detector's side; false without a reading.
    bool syncToMusic(int side);

    QColor beatLightColor2 = Qt::white;
    MusicSync musicSync;
    // "Sync to music" was pressed before the detector was sure of the beat: the sync is done
    // again, the whole way, as soon as it is.
    bool syncPending = false;
    // The list row of the device the run samples.
    int samplingRow = -1;

    QTimer *captureTimer = nullptr;
    QColor beatLightColor = Qt::white;
    // ---- end of automatic tempo detection ----
};

// The one main window of the process, once Main has created it.
frmMetronome *mainWindow();
void setMainWindow(frmMetronome *window);

} // namespace pulsivar
