// The beat clock of the main window: start, stop, the tick, and the Start / Stop buttons.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"
#include "common/Clock.h"
#include "common/Colors.h"
#include "common/MessageBox.h"
#include "metronome/BeatIndicator.h"
#include "platform/SkinLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace pulsivar {

bool frmMetronome::isMetronomeRunning() const
{
    return oBeatTimer->isActive();
}

void frmMetronome::setBeatTimerInterval(int periodMs)
{
    miBeatTimerInterval = periodMs;
    if (oBeatTimer->isActive()) {
        // Changing the period re-arms the timer from now.
        oBeatTimer->start(periodMs);
        mdNextBeatDue = clock().monotonicSeconds() + periodMs / 1000.0;
    }
}

void frmMetronome::StartMetronome(int32_t lCurrMSInterval, bool bTappingTempo, int16_t iStartBeat)
{
    if (lCurrMSInterval == 0 || mbStartingMetronome)
        return;
    mbStartingMetronome = true;
    oBeatTimer->stop();
    cancelNudge();

    const int32_t period = beatClock.start(lCurrMSInterval, bTappingTempo, iStartBeat);
    miBeatTimerInterval = period;
    const QString bpmText = QString::number(IntervalToBPM(period));

    const int channel = selectedChannel();
    if (channel == 1) {
        mlChannel1IntervalMS = period;
        txtBPM[1]->setText(bpmText);
    } else if (channel == 2) {
        mlChannel2IntervalMS = period;
        txtBPM[2]->setText(bpmText);
    } else {
        mbStartingMetronome = false;
        return;
    }

    sldrBPM->setValue(IntervalToBPM(period));
    txtManualTempo->setText(QString::number(sldrBPM->value()));
    UpdatePercentDifference();
    if (mnuOptions_PlayBeatSound->isChecked())
        extractWaveFilesForBeat();

    oBeatTimer->start(period);
    mdNextBeatDue = clock().monotonicSeconds() + period / 1000.0;
    if (chkAllowNudgeCalc->isChecked())
        CalculateDynamicNudge();
    mbStartingMetronome = false;
}

void frmMetronome::StopMetronome()
{
    oBeatTimer->stop();
    miBeatTimerInterval = 0;
    cancelNudge();
    txtBeatColor->setBeatColor(Qt::white);
    beatClock.mdLastTapTime = 0;
    mbStartingMetronome = false;
    beatClock.miCurrentBeat = 1;
    txtBeatColor->clear();
    beatClock.miIntervalHistoryIndex = -1;
    mirrorStopOnUndocked();
}

void frmMetronome::oBeatTimer_Timer()
{
    // The clock's own account of when this beat was due, so its click lands on time.
    const double due = mdNextBeatDue;
    mdNextBeatDue += miBeatTimerInterval / 1000.0;

    nudgeTick();

    const ProgramSettings &s = settings();
    const int beat = beatClock.miCurrentBeat;
    if (const int32_t *color = s.beatColor(beat))
        txtBeatColor->setBeatColor(colorFromColorRef(*color));
    txtBeatColor->setText(QString::number(beat));
    if (mnuOptions_PlayBeatSound->isChecked())
        playBeat(isAccentBeat(beat), due);
    mirrorBeatOnUndocked();
    txtBeatColor->repaint();

    beatClock.advanceBeat(s.BeatsPerMeasure);
    if (!beatClock.expireTapRun(clock().monotonicSeconds()))
        return;
    const QString caption = sknlblTapStats->text();
    if (caption == QLatin1String("Resetting...") || caption.isEmpty())
        sknlblTapStats->clear();
    else
        sknlblTapStats->setText(QStringLiteral("Resetting..."));
}

void frmMetronome::cmdStartMetronome_Click()
{
    const int channel = selectedChannel();
    if (channel != 1 && channel != 2)
        return;
    const int32_t interval = channel == 1 ? mlChannel1IntervalMS : mlChannel2IntervalMS;
    if (interval != 0) {
        StartMetronome(interval, false, resyncStartBeat());
        return;
    }
    showMessage(QStringLiteral("No Channel %1 Tempo").arg(channel),
                QStringLiteral("You must enter a tempo for Channel %1 before starting the metronome   ").arg(channel),
                MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, this);
}

void frmMetronome::cmdStopMetronome_Click()
{
    if (oBeatTimer->isActive())
        StopMetronome();
}

} // namespace pulsivar
