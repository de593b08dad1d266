#pragma once
// The main window: the metronome, both tempo channels, the tempo sources and the menus.
#include <QMainWindow>
#include <QMap>
#include <cstdint>

#include "metronome/BeatClock.h"
#include "tempo/Nudge.h"

// Automatic tempo detection state (frmMetronomeDetect.cpp).
#include "detect/AudioSampler.h"
#include "detect/DetectionDisplay.h"
#include "detect/SilenceTracker.h"
#include <QColor>
#include <QDateTime>
#include <memory>

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
class SkinLabel;

class frmMetronome : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMetronome(QWidget *parent = nullptr);
    ~frmMetronome() override;

    // Beat clock
    void StartMetronome(int32_t lCurrMSInterval, bool bTappingTempo, int16_t iStartBeat);
    void StopMetronome();
    bool isMetronomeRunning() const;
    // The start beat of the resync rule: 1 when stopped, 2 when running.
    int16_t resyncStartBeat() const { return isMetronomeRunning() ? 2 : 1; }

    void CheckForProgramUpdates();

    // Start-up sets this when a detection module is missing; detection stays off for the run.
    bool mbDisableAudioBPMDetection = false;
    // Audio handles of the detection modules; 0 or less when none is open.
    int32_t glAudioDevice = 0;
    int32_t glSoundID = 0;
    int32_t glChannel = 0;
    int32_t glDSP = 0;
    int32_t mlBPMDetectID = 0;

    // Run-time values of the channels and the beat clock.
    int32_t mlChannel1IntervalMS = 0;
    int32_t mlChannel2IntervalMS = 0;
    BeatClock beatClock;
    bool mbStartingMetronome = false;
    bool mbFormLoading = false;
    Nudge nudge;
    bool mbStopSampling = true;

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

    QMenu *mnu_Skin = nullptr;
    QAction *mnuFile_Exit = nullptr;
    QAction *mnuTools_HarmonicMixing = nullptr;
    QMap<int, QAction *> mnuSkin_SelectedSkin;
    QAction *mnuOptions_TimeSignitures = nullptr;
    QAction *mnuOptions_AutoBPMConfig = nullptr;
    QAction *mnuOptions_PlayBeatSound = nullptr;
    QAction *mnuOptions_Undock = nullptr;
    QAction *mnuOptions_AlwaysOnTop = nullptr;
    QAction *mnuHelp_Help = nullptr;
    QAction *mnuHelp_CheckProgUpdates = nullptr;
    QAction *mnuHelp_Website = nullptr;
    QAction *mnuHelp_About = nullptr;

    // The selected channel: 1, 2, or 3 for the left/right audio option.
    int selectedChannel() const;
    // The beat timer's period in ms; 0 while stopped.
    int beatTimerInterval() const { return miBeatTimerInterval; }
    // Re-arms the beat timer: the next tick follows one full period from now.
    void setBeatTimerInterval(int periodMs);

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

    void mnuTools_HarmonicMixing_Click();
    void mnuSkin_SelectedSkin_Click(int Index);
    void mnuOptions_TimeSignitures_Click();
    void mnuOptions_AutoBPMConfig_Click();
    void mnuOptions_PlayBeatSound_Click();
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
    void nudgeClick(Nudge::Direction direction);
    void stepTempo(int delta);
    void applyManualTempoText();
    // Steps of other subsystems that the window's own handlers call.
    frmUndocked &undocked();
    void restorePlacement();
    void savePlacement();
    void resetSilenceTracking();
    void releaseAudioSystem();
    void extractWaveFilesForBeat();
    void playBeat(bool accent, double dueSeconds);
    bool isAccentBeat(int beat) const;
    void mirrorBeatOnUndocked();
    void mirrorStopOnUndocked();
    void nudgeTick();
    void cancelNudge();

    // When the current beat was due on the monotonic clock, so its click lands on time.
    double mdNextBeatDue = 0;
    int miBeatTimerInterval = 0;
    bool unloading = false;
    bool undockedConnected = false;

    // ---- Automatic tempo detection (frmMetronomeDetect.cpp) ----
    void InitAudioEngine();
    // Starts a sampling run; the capture timer then delivers every recorded block in order.
    void SampleAudioInput();
    // One pass of the capture loop.
    void captureTimer_Timer();
    // Tears a run down: meters cleared, recording stopped, sound and detector freed, buttons back.
    void endSamplingRun();
    void reportSamplingFailure(const QString &description);
    void drawAudioMeters(int32_t leftPeak, int32_t rightPeak);
    void setBeatLight(const QColor &color);
    void showSilence();

    std::unique_ptr<AudioSampler> audioSampler;
    QTimer *captureTimer = nullptr;
    bool mbAudioEngineReady = false;
    bool samplingRunActive = false;
    int32_t mlPeakLevel = 0;
    QDateTime mdtFarFutureDate;
    SilenceTracker silence;
    DetectionDisplay detectionDisplay;
    QColor beatLightColor = Qt::white;
    // ---- end of automatic tempo detection ----
};

// The one main window of the process, once Main has created it.
frmMetronome *mainWindow();
void setMainWindow(frmMetronome *window);

} // namespace pulsivar
