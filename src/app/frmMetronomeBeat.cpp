// SPDX-License-Identifier: GPL-2.0-or-later
// The beat clock of the main window: start, stop, the tick, and the Start / Stop buttons.
#include "app/frmMetronome.h"

#include "common/Clock.h"
#include "common/Colors.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
#include "common/Steps.h"
#include "metronome/BeatIndicator.h"
#include "metronome/BeatSound.h"
#include "metronome/MeasureConfigRules.h"
#include "platform/SkinLabel.h"
#include "settings/ProgramState.h"
#include "tempo/TempoUnits.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace pulsivar {

bool frmMetronome::isMetronomeRunning() const
{
    return grid.isRunning();
}

int frmMetronome::beatTimerInterval() const
{
    return grid.isRunning() ? int(std::lround(grid.periodSeconds() * 1000.0)) : 0;
}

void frmMetronome::StartMetronome(int32_t lCurrMSInterval, bool bTappingTempo, int16_t iStartBeat)
{
    if (lCurrMSInterval == 0)
        return;
    if (bTappingTempo)
        startTapped(lCurrMSInterval);
    else
        startAtTempo(tempoOfIntervalMs(lCurrMSInterval), iStartBeat);
}

void frmMetronome::startTapped(double intervalMs)
{
    if (mbStartingMetronome)
        return;
    runTempo(tempoChannels.settleTap(intervalMs), 1);
}

void frmMetronome::startAtTempo(double bpm, int16_t iStartBeat)
{
    if (!(bpm > 0) || mbStartingMetronome)
        return;
    runTempo(tempoChannels.settle(bpm), iStartBeat);
}

void frmMetronome::runTempo(double bpm, int16_t iStartBeat)
{
    mbStartingMetronome = true;
    const double now = clock().monotonicSeconds();
    if (!tempoChannels.channelSelected()) {
        grid.stop(now);
        publishBeat();
        oBeatTimer->stop();
        mbStartingMetronome = false;
        return;
    }
    tempoChannels.setTempo(tempoChannels.selected(), bpm);
    txtBPM[tempoChannels.selected()]->setText(channelTempoText(bpm));
    sldrBPM->setValue(int(roundHalfEven(bpm)));
    txtManualTempo->setText(QString::number(sldrBPM->value()));
    UpdatePercentDifference();
    if (mnuOptions_PlayBeatSound->isChecked())
        extractWaveFilesForBeat();

    // The measure as it is now, so the first beat already has its accent.
    const ProgramSettings &s = settings();
    grid.setMeasure(now, s.BeatsPerMeasure, accentMaskOf(s.AccentBeatConfig));
    grid.start(now, 60.0 / bpm, iStartBeat);
    shareTempo(bpm, now);
    publishBeat();
    armBeatTimer();
    if (chkAllowNudgeCalc->isChecked())
        CalculateDynamicNudge();
    mbStartingMetronome = false;
}

void frmMetronome::StopMetronome()
{
    oBeatTimer->stop();
    // A click not yet heard is withdrawn with the stop.
    grid.stop(clock().monotonicSeconds());
    publishBeat();
    txtBeatColor->setBeatColor(Qt::white);
    tempoChannels.taps.reset();
    mbStartingMetronome = false;
    txtBeatColor->clear();
    mirrorStopOnUndocked();
}

void frmMetronome::publishBeat()
{
    grid.setAudible(mnuOptions_PlayBeatSound->isChecked());
    if (grid.schedule().serial == publishedSerial)
        return;
    publishedSerial = grid.schedule().serial;
    runStep([this] { beatSoundEngine().setSchedule(grid.schedule()); });
    runStep([this] { midiClockOut.setSchedule(grid.schedule()); });
}

void frmMetronome::armBeatTimer()
{
    if (!grid.isRunning()) {
        oBeatTimer->stop();
        return;
    }
    // The beat shows when it sounds: the output's clock may run a little off the monotonic one.
    const double due = grid.next().dueSeconds + beatSoundEngine().soundingOffsetSeconds();
    const double waitMs = (due - clock().monotonicSeconds()) * 1000.0;
    oBeatTimer->start(int(std::clamp(std::ceil(waitMs), 0.0, 60000.0)));
}

void frmMetronome::oBeatTimer_Timer()
{
    const ProgramSettings &s = settings();
    const double now = clock().monotonicSeconds();
    grid.setMeasure(now, s.BeatsPerMeasure, accentMaskOf(s.AccentBeatConfig));
    publishBeat();
    // A display that fell behind goes on with the beat due now, not every one it missed.
    grid.catchUp(now - beatSoundEngine().soundingOffsetSeconds());
    const BeatGrid::Beat beat = grid.next();
    grid.advance();

    if (const int32_t *color = s.beatColor(beat.number))
        txtBeatColor->setBeatColor(colorFromColorRef(*color));
    txtBeatColor->setText(QString::number(beat.number));
    mirrorBeatOnUndocked();
    txtBeatColor->repaint();
    armBeatTimer();
    reportClickOutputFallback();

    if (!tempoChannels.taps.expire(clock().monotonicSeconds()))
        return;
    const QString caption = sknlblTapStats->text();
    // Clearing a label, even an empty one, lays out the whole window again.
    if (caption.isEmpty())
        return;
    if (caption == QLatin1String("Resetting..."))
        sknlblTapStats->clear();
    else
        sknlblTapStats->setText(QStringLiteral("Resetting..."));
}

void frmMetronome::cmdStartMetronome_Click()
{
    if (!tempoChannels.channelSelected())
        return;
    const int channel = tempoChannels.selected();
    if (const double bpm = tempoChannels.tempo(channel); bpm > 0) {
        startAtTempo(bpm, resyncStartBeat());
        return;
    }
    showMessage(QStringLiteral("No Channel %1 Tempo").arg(channel),
                QStringLiteral("You must enter a tempo for Channel %1 before starting the metronome   ").arg(channel),
                MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, this);
}

void frmMetronome::cmdStopMetronome_Click()
{
    if (isMetronomeRunning())
        StopMetronome();
}

} // namespace pulsivar
