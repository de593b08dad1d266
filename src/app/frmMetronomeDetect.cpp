// Automatic tempo detection on the main window: the tab strip, sampling and the detected tempo.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"
#include "common/Steps.h"
#include "common/Clock.h"
#include "common/Colors.h"
#include "common/MessageBox.h"
#include "detect/CaptureBlock.h"
#include "detect/DetectionEngines.h"
#include "detect/LevelMeter.h"
#include "platform/Skin.h"
#include "platform/SkinLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

namespace pulsivar {

namespace {
constexpr int detectionTab = 1;
// How often the capture loop looks for newly recorded audio.
constexpr int capturePollMs = 5;
constexpr qint64 farFutureDays = 99999;
const QString engineFailureEntry = QStringLiteral("Could not initialize Audio Engine");

void setTextIfDifferent(SkinLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}
} // namespace

void frmMetronome::tabTempoSource_Click()
{
    const bool detectionChosen = tabTempoSource->currentIndex() == detectionTab;
    if (mbDisableAudioBPMDetection && !mbFormLoading && detectionChosen) {
        showMessage(QStringLiteral("Audio BPM Detection Unavailable"),
                    QStringLiteral("Audio input BPM detection is not available as the DLL files that are ")
                        + QStringLiteral("necessary to support this function are not installed."),
                    MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, this);
        // Selecting the manual tab runs this handler again, which shows the manual panel.
        tabTempoSource->setCurrentIndex(0);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    repaint();
    if (!detectionChosen) {
        fraManualTempo->setVisible(true);
        fraAudioTempo->setVisible(false);
    } else {
        if (!mbAudioEngineReady)
            runStep([this] { InitAudioEngine(); });
        fraManualTempo->setVisible(false);
        fraAudioTempo->setVisible(true);
    }
    QApplication::restoreOverrideCursor();
}

void frmMetronome::InitAudioEngine()
{
    if (mbAudioEngineReady)
        return;
    lstAudioHardware->clear();
    // A failed attempt is not repeated: detection stays off for the run.
    audioSampler = std::make_unique<AudioSampler>(makeAudioInputEngine(), makeBeatDetector());
    QStringList entries;
    const bool ready = audioSampler->initEngine(entries);
    lstAudioHardware->addItems(entries);
    glAudioDevice = audioSampler->systemHandle();
    if (!ready) {
        optChannel[3]->setEnabled(false);
        fraAudioTempo->setEnabled(false);
        mbDisableAudioBPMDetection = true;
        mbAudioEngineReady = false;
        lstAudioHardware->addItem(engineFailureEntry);
        return;
    }
    if (lstAudioHardware->count() > 0)
        lstAudioHardware->setCurrentRow(0);
    lstAudioHardware_Click();
    mbAudioEngineReady = true;
}

void frmMetronome::lstAudioHardware_Click()
{
    if (lstAudioHardware->count() == 0) {
        lstAudioHardware->setToolTip(QStringLiteral("There are no audio devices detected for your computer"));
        return;
    }
    const QListWidgetItem *item = lstAudioHardware->currentItem();
    lstAudioHardware->setToolTip(QStringLiteral("Using audio device '") + (item ? item->text() : QString())
                                 + QLatin1Char('\''));
}

void frmMetronome::cmdStartAudIn_Click()
{
    if (samplingRunActive)
        return;
    mbStopSampling = false;
    cmdStartAudIn->setEnabled(false);
    cmdStopAudIn->setEnabled(true);
    SampleAudioInput();
}

void frmMetronome::SampleAudioInput()
{
    if (!audioSampler || !mbAudioEngineReady) {
        reportSamplingFailure(QStringLiteral("The audio system is not open"));
        endSamplingRun();
        return;
    }
    const QListWidgetItem *item = lstAudioHardware->currentItem();
    const int device = item ? deviceIndexOfEntry(item->text()) : 0;
    samplingRunActive = true;
    const bool started = audioSampler->startRun(device);
    glSoundID = audioSampler->soundHandle();
    mlBPMDetectID = audioSampler->detectorHandle();
    if (!started) {
        reportSamplingFailure(audioSampler->lastError());
        endSamplingRun();
        return;
    }
    sknlblBPM->setText(detectingBpmText);
    mlPeakLevel = 0;
    detectionDisplay.reset();
    silence.reset(mdtFarFutureDate);
    oAudioInTimer->start();
    if (!captureTimer) {
        captureTimer = new QTimer(this);
        captureTimer->setObjectName(QStringLiteral("captureTimer"));
        captureTimer->setInterval(capturePollMs);
        connect(captureTimer, &QTimer::timeout, this, &frmMetronome::captureTimer_Timer);
    }
    captureTimer->start();
}

void frmMetronome::captureTimer_Timer()
{
    if (!samplingRunActive || !audioSampler)
        return;
    if (mbStopSampling || mlBPMDetectID == 0) {
        endSamplingRun();
        return;
    }
    BlockPeaks peaks;
    switch (audioSampler->poll(peaks)) {
    case AudioSampler::PollOutcome::NoNewAudio:
        return;
    case AudioSampler::PollOutcome::Failed:
        captureTimer->stop();
        reportSamplingFailure(audioSampler->lastError());
        endSamplingRun();
        return;
    case AudioSampler::PollOutcome::Block:
        break;
    }
    if (peaks.left > mlPeakLevel)
        mlPeakLevel = peaks.left;
    silence.addBlock(peaks.left, clock().currentDateTime());
    drawAudioMeters(peaks.left, peaks.right);
}

void frmMetronome::reportSamplingFailure(const QString &description)
{
    showMessage(QStringLiteral("Error Generating BPM"),
                QStringLiteral("An error occurred while sampling the input audio stream to generate an automatic BPM value: ")
                    + QStringLiteral("\nError Description: ") + description,
                MessageIcon::Warning, QMessageBox::Ok, QMessageBox::NoButton, this);
}

void frmMetronome::endSamplingRun()
{
    if (captureTimer)
        captureTimer->stop();
    runStep([this] { drawAudioMeters(0, 0); });
    if (audioSampler)
        runStep([this] { audioSampler->endRun(); });
    glSoundID = 0;
    mlBPMDetectID = 0;
    oAudioInTimer->stop();
    samplingRunActive = false;
    mbStopSampling = true;
    cmdStartAudIn->setEnabled(true);
    cmdStopAudIn->setEnabled(false);
}

void frmMetronome::drawAudioMeters(int32_t leftPeak, int32_t rightPeak)
{
    const QColor color = colorFromColorRef(settings().AutoBPMColor);
    const int32_t peaks[2] = {leftPeak, rightPeak};
    for (int i = 0; i < 2; ++i) {
        picAudioMeter[i]->setBarColor(color);
        picAudioMeter[i]->setLevel(double(peaks[i]) / 32767.0);
    }
}

void frmMetronome::cmdStopAudIn_Click()
{
    mbStopSampling = true;
    oAudioInTimer->stop();
    sknlblBPM->setText(idleBpmText);
    sknlblAccuracy->setText(idleAccuracyText);
    skinlblPeakVU->setText(idlePeakText);
    setBeatLight(Qt::white);
}

void frmMetronome::setBeatLight(const QColor &color)
{
    beatLightColor = color;
    paintSkinExempt(txtAudioBPMBeat, color, color);
}

void frmMetronome::oAudioInTimer_Timer()
{
    if (mlBPMDetectID == 0 || !audioSampler)
        return;
    if (!silence.mbInputHasSound) {
        showSilence();
        if (silence.timedOut(clock().currentDateTime(), settings().AutoBPMInputTimeout))
            cmdStopAudIn_Click();
        return;
    }
    DetectorReading reading;
    reading.tempo = audioSampler->detectorValue(BeatDetectorEngine::tempoParameter);
    reading.confidence = audioSampler->detectorValue(BeatDetectorEngine::confidenceParameter);
    reading.beatMarker = audioSampler->detectorValue(BeatDetectorEngine::beatMarkerParameter);
    const DisplayChanges changes = detectionDisplay.pollWithSound(
        reading, mlPeakLevel, beatLightColor == QColor(Qt::white), chkHoldAudioBPM->isChecked());
    if (changes.light == DisplayChanges::Light::Flash)
        setBeatLight(colorFromColorRef(settings().AutoBPMColor));
    else if (changes.light == DisplayChanges::Light::White)
        setBeatLight(Qt::white);
    if (changes.peakLabel)
        skinlblPeakVU->setText(*changes.peakLabel);
    if (changes.bpmLabel)
        sknlblBPM->setText(*changes.bpmLabel);
    if (changes.applyTempo)
        runStep([this] { ApplyDetectedBPM(detectionDisplay.msDetectedBPM); });
    if (changes.accuracyLabel)
        sknlblAccuracy->setText(*changes.accuracyLabel);
}

void frmMetronome::showSilence()
{
    setTextIfDifferent(sknlblBPM, detectingBpmText);
    setTextIfDifferent(sknlblAccuracy, idleAccuracyText);
    setTextIfDifferent(skinlblPeakVU, idlePeakText);
    // The silence texts replaced the shown values; sound coming back writes them afresh.
    detectionDisplay.forgetShownValues();
    if (beatLightColor != QColor(Qt::white))
        setBeatLight(Qt::white);
}

void frmMetronome::chkHoldAudioBPM_Click()
{
    if (chkHoldAudioBPM->isChecked())
        cmdSetAudioInTempo_Click();
}

void frmMetronome::cmdSetAudioInTempo_Click()
{
    // The detector reports 0 until it has found a tempo; that is no tempo for a channel.
    if (!isDetectedTempo(detectionDisplay.msDetectedBPM))
        return;
    ApplyDetectedBPM(detectionDisplay.msDetectedBPM);
}

void frmMetronome::resetSilenceTracking()
{
    mdtFarFutureDate = clock().currentDateTime().addDays(farFutureDays);
    silence.reset(mdtFarFutureDate);
    // Nothing is being sampled when the window opens.
    cmdStopAudIn->setEnabled(false);
}

void frmMetronome::releaseAudioSystem()
{
    if (samplingRunActive)
        endSamplingRun();
    if (glAudioDevice > 0 && audioSampler)
        runStep([this] { audioSampler->closeSystem(); });
    glAudioDevice = 0;
}

} // namespace pulsivar
