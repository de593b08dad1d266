// SPDX-License-Identifier: GPL-2.0-or-later
// Automatic tempo detection on the main window: the tab strip, sampling and the detected tempo.
#include "app/frmMetronome.h"

#include "common/Clock.h"
#include "common/Colors.h"
#include "common/MessageBox.h"
#include "common/Steps.h"
#include "common/WaitCursor.h"
#include "detect/CaptureBlock.h"
#include "detect/DetectionEngines.h"
#include "detect/LevelMeter.h"
#include "metronome/BeatSound.h"
#include "platform/Skin.h"
#include "platform/SkinLabel.h"
#include "settings/ProgramState.h"
#include "tempo/TempoText.h"

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
// How often the capture loop looks for newly recorded audio. Each wakeup of the window's thread
// costs more than the reading, but the capture clock takes a frame's time from the earliest read
// that found it, so rare reads would blur the time the sync to the music relies on.
constexpr int capturePollMs = 10;
constexpr int beatLightMaxWidth = 60;
const QString engineFailureEntry = QStringLiteral("Could not initialize Audio Engine");
const QString twoDecksText = QStringLiteral("Two decks: L sets Channel 1, R sets Channel 2");
const QString sameSignalText = QStringLiteral("L and R carry the same signal (mono): one deck only");
// A source that monitors an output may carry the program's own click.
const QString monitorPrefix = QStringLiteral("Monitor of ");

void setTextIfDifferent(SkinLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

// The grid's due time for a beat on the music's last beat: the detector gives when it would
// sound on the output, and the output sounds each beat its drift (an underrun) after its due time.
std::optional<double> musicBeatDue(const DetectionRun &run, int side)
{
    const std::optional<double> heard = run.lastBeatSeconds(side);
    if (!heard)
        return std::nullopt;
    return *heard - beatSoundEngine().soundingOffsetSeconds();
}
} // namespace

void frmMetronome::tabTempoSource_Click()
{
    const bool detectionChosen = tabTempoSource->currentIndex() == detectionTab;
    if (detectionRun.isUnavailable() && !mbFormLoading && detectionChosen) {
        showMessage(QStringLiteral("Audio BPM Detection Unavailable"),
                    QStringLiteral("Audio input BPM detection is not available as the DLL files that are ")
                        + QStringLiteral("necessary to support this function are not installed."),
                    MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, this);
        // Selecting the manual tab runs this handler again, which shows the manual panel.
        tabTempoSource->setCurrentIndex(0);
        return;
    }
    const WaitCursor hourglass;
    repaint();
    if (!detectionChosen) {
        fraManualTempo->setVisible(true);
        fraAudioTempo->setVisible(false);
    } else {
        if (!detectionRun.isReady())
            runStep([this] { InitAudioEngine(); });
        fraManualTempo->setVisible(false);
        fraAudioTempo->setVisible(true);
    }
}

void frmMetronome::InitAudioEngine()
{
    if (detectionRun.isReady())
        return;
    lstAudioHardware->clear();
    QStringList entries;
    const bool ready = detectionRun.open(entries);
    lstAudioHardware->addItems(entries);
    if (!ready) {
        optChannel[3]->setEnabled(false);
        fraAudioTempo->setEnabled(false);
        lstAudioHardware->addItem(engineFailureEntry);
        return;
    }
    if (lstAudioHardware->count() > 0)
        lstAudioHardware->setCurrentRow(0);
    lstAudioHardware_Click();
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
    if (detectionRun.hasRun())
        return;
    cmdStartAudIn->setEnabled(false);
    cmdStopAudIn->setEnabled(true);
    SampleAudioInput();
}

void frmMetronome::SampleAudioInput()
{
    const QListWidgetItem *item = lstAudioHardware->currentItem();
    const QString chosen = item ? item->text() : QString();
    int device = deviceIndexOfEntry(chosen);
    QString entry = chosen;
    // Inputs come and go while the list stands: a source that returns is listed afresh, often
    // under a new name and number, and the chosen one is found again by its name.
    QStringList entries;
    if (item && detectionRun.relist(entries)) {
        const int found = findDeviceEntry(entries, chosen);
        QStringList shown;
        for (int i = 0; i < lstAudioHardware->count(); ++i)
            shown << lstAudioHardware->item(i)->text();
        if (shown != entries) {
            lstAudioHardware->clear();
            lstAudioHardware->addItems(entries);
        }
        if (found < 0) {
            lstAudioHardware->setCurrentRow(-1);
            reportSamplingFailure(QStringLiteral("The audio device '%1' is not there any more").arg(chosen));
            samplingEnded();
            return;
        }
        lstAudioHardware->setCurrentRow(found);
        lstAudioHardware_Click();
        device = deviceIndexOfEntry(entries[found]);
        entry = entries[found];
    }
    samplingRow = lstAudioHardware->currentRow();
    const bool monitor = !entry.isEmpty() && entry.contains(monitorPrefix);
    if (!detectionRun.start(device, optChannel[3]->isChecked(), monitor)) {
        reportSamplingFailure(detectionRun.lastError());
        samplingEnded();
        return;
    }
    // Clicks placed before this run are no part of it.
    beatSoundEngine().takePlacedClicks();
    musicSync.reset();
    sknlblBPM->setText(detectingBpmText);
    sknlblAccuracy->setText(idleAccuracyText);
    skinlblPeakVU->setText(idlePeakText);
    sknlblBPM_2->setText(detectingBpmText);
    sknlblAccuracy_2->setText(idleAccuracyText);
    setBeatLight(Qt::white, 0);
    setBeatLight(Qt::white, 1);
    showDeckWidgets();
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
    // The clicks are handed over before the audio that may carry them is read.
    if (detectionRun.removesOwnClick()) {
        for (PlacedClick &click : beatSoundEngine().takePlacedClicks())
            detectionRun.addOwnClick({click.seconds, std::move(click.samples)});
    }
    BlockPeaks peaks;
    switch (detectionRun.capture(clock().monotonicSeconds(), peaks)) {
    case DetectionRun::Capture::NoNewAudio:
        return;
    case DetectionRun::Capture::Failed:
        captureTimer->stop();
        reportSamplingFailure(detectionRun.lastError());
        samplingEnded();
        return;
    case DetectionRun::Capture::Ended:
        samplingEnded();
        return;
    case DetectionRun::Capture::Block:
        drawAudioMeters(peaks.left, peaks.right);
        return;
    }
}

void frmMetronome::reportSamplingFailure(const QString &description)
{
    showMessage(QStringLiteral("Error Generating BPM"),
                QStringLiteral("An error occurred while sampling the input audio stream to generate an automatic BPM value: ")
                    + QStringLiteral("\nError Description: ") + description,
                MessageIcon::Warning, QMessageBox::Ok, QMessageBox::NoButton, this);
}

void frmMetronome::samplingEnded()
{
    if (captureTimer)
        captureTimer->stop();
    runStep([this] { drawAudioMeters(0, 0); });
    oAudioInTimer->stop();
    cmdStartAudIn->setEnabled(true);
    cmdStopAudIn->setEnabled(false);
    // The beat light follows the layout again (a skin may change its size).
    txtAudioBPMBeat->setMinimumSize(0, 0);
    txtAudioBPMBeat->setMaximumSize(beatLightMaxWidth, QWIDGETSIZE_MAX);
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
    detectionRun.requestStop();
    oAudioInTimer->stop();
    sknlblBPM->setText(idleBpmText);
    sknlblAccuracy->setText(idleAccuracyText);
    skinlblPeakVU->setText(idlePeakText);
    sknlblBPM_2->setText(idleBpmText);
    sknlblAccuracy_2->setText(idleAccuracyText);
    setBeatLight(Qt::white, 0);
    setBeatLight(Qt::white, 1);
    musicSync.reset();
    syncPending = false;
}

void frmMetronome::setBeatLight(const QColor &color, int side)
{
    (side == 0 ? beatLightColor : beatLightColor2) = color;
    auto *light = side == 0 ? txtAudioBPMBeat : txtAudioBPMBeat_2;
    // A new sheet makes the box ask for a new layout of the whole window, several times a second
    // while it flashes; a box of fixed size does not.
    if (detectionRun.hasRun() && light->isVisible())
        light->setFixedSize(light->size());
    paintSkinExempt(light, color, color);
}

void frmMetronome::showDeckWidgets()
{
    const bool two = optChannel[3]->isChecked();
    sknlblBPM_2->setVisible(two);
    sknlblAccuracy_2->setVisible(two);
    txtAudioBPMBeat_2->setVisible(two);
    sknlblAudioDecks->setVisible(two);
    const bool same = detectionRun.hasRun() && detectionRun.bothSides() && detectionRun.sameOnBothSides();
    setTextIfDifferent(sknlblAudioDecks, same ? sameSignalText : twoDecksText);
}

void frmMetronome::oAudioInTimer_Timer()
{
    if (!detectionRun.hasRun())
        return;
    if (!detectionRun.inputHasSound()) {
        showSilence();
        // The music stopped: the beats run on as they are, and a sync starts afresh.
        musicSync.reset();
        if (detectionRun.silenceTimedOut(clock().monotonicSeconds(), settings().AutoBPMInputTimeout))
            cmdStopAudIn_Click();
        return;
    }
    showDeck(0);
    if (detectionRun.bothSides()) {
        showDeckWidgets();
        showDeck(1);
    }
    runStep([this] { followMusic(); });
}

void frmMetronome::showDeck(int side)
{
    SkinLabel *bpmLabel = side == 0 ? sknlblBPM : sknlblBPM_2;
    SkinLabel *accuracyLabel = side == 0 ? sknlblAccuracy : sknlblAccuracy_2;
    const QColor &light = side == 0 ? beatLightColor : beatLightColor2;
    DetectionDisplay &display = side == 0 ? detectionRun.display : detectionRun.secondDisplay;
    if (side == 1 && detectionRun.sameOnBothSides()) {
        // One signal on both sides is one deck: the left side's reading is the only one.
        setTextIfDifferent(bpmLabel, idleBpmText);
        setTextIfDifferent(accuracyLabel, idleAccuracyText);
        display.forgetShownValues();
        if (light != QColor(Qt::white))
            setBeatLight(Qt::white, side);
        return;
    }
    const DisplayChanges changes = display.pollWithSound(detectionRun.reading(side), detectionRun.peakLevel(),
                                                         light == QColor(Qt::white), chkHoldAudioBPM->isChecked());
    if (changes.light == DisplayChanges::Light::Flash)
        setBeatLight(colorFromColorRef(settings().AutoBPMColor), side);
    else if (changes.light == DisplayChanges::Light::White)
        setBeatLight(Qt::white, side);
    if (changes.peakLabel && side == 0)
        skinlblPeakVU->setText(*changes.peakLabel);
    if (changes.bpmLabel)
        bpmLabel->setText(*changes.bpmLabel);
    if (changes.applyTempo) {
        if (detectionRun.bothSides())
            runStep([this, side, &display] { applyDetectedTempo(side + 1, display.msDetectedBPM); });
        else
            runStep([this, &display] { ApplyDetectedBPM(display.msDetectedBPM); });
    }
    if (changes.accuracyLabel)
        accuracyLabel->setText(*changes.accuracyLabel);
}

void frmMetronome::showSilence()
{
    setTextIfDifferent(sknlblBPM, detectingBpmText);
    setTextIfDifferent(sknlblAccuracy, idleAccuracyText);
    setTextIfDifferent(skinlblPeakVU, idlePeakText);
    // The silence texts replaced the shown values; sound coming back writes them afresh.
    detectionRun.display.forgetShownValues();
    if (beatLightColor != QColor(Qt::white))
        setBeatLight(Qt::white);
    if (detectionRun.bothSides()) {
        setTextIfDifferent(sknlblBPM_2, detectingBpmText);
        setTextIfDifferent(sknlblAccuracy_2, idleAccuracyText);
        detectionRun.secondDisplay.forgetShownValues();
        if (beatLightColor2 != QColor(Qt::white))
            setBeatLight(Qt::white, 1);
    }
}

void frmMetronome::chkHoldAudioBPM_Click()
{
    if (chkHoldAudioBPM->isChecked())
        cmdSetAudioInTempo_Click();
}

void frmMetronome::cmdSetAudioInTempo_Click()
{
    if (detectionRun.hasRun() && detectionRun.bothSides()) {
        applyDetectedTempo(1, detectionRun.display.msDetectedBPM);
        if (!detectionRun.sameOnBothSides())
            applyDetectedTempo(2, detectionRun.secondDisplay.msDetectedBPM);
        return;
    }
    // The detector reports 0 until it has found a tempo; that is no tempo for a channel.
    QString &detected = detectionRun.display.msDetectedBPM;
    if (!isDetectedTempo(detected))
        return;
    ApplyDetectedBPM(detected);
}

void frmMetronome::lstAudioHardware_Change()
{
    if (detectionRun.isSampling() && lstAudioHardware->currentRow() >= 0
        && lstAudioHardware->currentRow() != samplingRow)
        restartSampling();
}

void frmMetronome::restartSampling()
{
    detectionRun.end();
    SampleAudioInput();
}

int frmMetronome::syncSide() const
{
    return detectionRun.bothSides() && tempoChannels.selected() == 2 ? 1 : 0;
}

void frmMetronome::cmdSyncToAudio_Click()
{
    if (!detectionRun.hasRun() || !tempoChannels.channelSelected())
        return;
    const int side = syncSide();
    if (!syncToMusic(side))
        return;
    syncPending = !(detectionRun.reading(side).confidence >= MusicSync::minimumConfidence);
}

bool frmMetronome::syncToMusic(int side)
{
    const DetectorReading reading = detectionRun.reading(side);
    const std::optional<double> beat = musicBeatDue(detectionRun, side);
    if (!(reading.tempo > 0) || !beat)
        return false;
    const double bpm = tempoChannels.settle(reading.tempo);
    if (!grid.isRunning()) {
        runTempo(bpm, 1);
    } else {
        const int channel = tempoChannels.selected();
        tempoChannels.setTempo(channel, bpm);
        txtBPM[channel]->setText(channelTempoText(bpm));
        UpdatePercentDifference();
    }
    // In a Link session the music's tempo goes to the session, and the session keeps the phase:
    // two masters of the phase would pull the click to and fro.
    const double now = clock().monotonicSeconds();
    if (linkSession) {
        shareTempo(bpm, now);
        musicSync.reset();
        return true;
    }
    // The whole way at once (up to half a beat); the count through the measure stays as it is.
    const double period = 60.0 / bpm;
    grid.retime(now, period, *beat, period / 2);
    publishBeat();
    armBeatTimer();
    musicSync.reset();
    return true;
}

void frmMetronome::followMusic()
{
    if (!grid.isRunning() || !tempoChannels.channelSelected()) {
        syncPending = false;
        return;
    }
    const int side = syncSide();
    if (syncPending && detectionRun.reading(side).confidence >= MusicSync::minimumConfidence) {
        syncPending = false;
        syncToMusic(side);
        return;
    }
    if (!chkKeepSyncAudio->isChecked())
        return;
    const DetectorReading reading = detectionRun.reading(side);
    const std::optional<double> beat = musicBeatDue(detectionRun, side);
    if (!(reading.confidence >= MusicSync::minimumConfidence) || !(reading.tempo > 0) || !beat) {
        // Not sure of the music: the beats run on unchanged.
        musicSync.reset();
        return;
    }
    const double bpm = tempoChannels.settle(reading.tempo);
    const int channel = tempoChannels.selected();
    if (channelTempoText(bpm) != txtBPM[channel]->text()) {
        tempoChannels.setTempo(channel, bpm);
        txtBPM[channel]->setText(channelTempoText(bpm));
        UpdatePercentDifference();
        if (linkSession)
            shareTempo(bpm, clock().monotonicSeconds());
    }
    if (linkSession)
        return;
    const double period = 60.0 / bpm;
    const double due = grid.next().dueSeconds;
    const double step = musicSync.correction(due, *beat, period);
    grid.retime(clock().monotonicSeconds(), period, due + step, MusicSync::maxStepSeconds);
    publishBeat();
}

void frmMetronome::releaseAudioSystem()
{
    const bool wasSampling = detectionRun.hasRun();
    runStep([this] { detectionRun.close(); });
    if (wasSampling)
        samplingEnded();
}

} // namespace pulsivar
