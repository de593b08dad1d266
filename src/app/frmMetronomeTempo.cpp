// Tempo entry on the main window: channels, tap, slider, steps and typing.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"
#include "common/Clock.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
#include "metronome/BeatIndicator.h"
#include "platform/SkinLabel.h"
#include "tempo/TempoText.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>

#include <cmath>

namespace pulsivar {

namespace {
constexpr qsizetype manualTempoMaxLength = 3;
} // namespace

void frmMetronome::optChannel_Click(int Index)
{
    if (tabTempoSource->currentIndex() == 1)
        chkHoldAudioBPM->setChecked(false);
    if (Index == 1 || Index == 2) {
        if (auto tempo = tempoOfText(txtBPM[Index]->text()))
            StartMetronome(BPMToInterval(*tempo), false, 1);
        else
            StopMetronome();
        return;
    }
    StopMetronome();
}

void frmMetronome::UpdatePercentDifference()
{
    for (int i = 1; i <= 2; ++i) {
        txtBPM[i]->setText(txtBPM[i]->text().trimmed());
        if (txtBPM[i]->text() == QLatin1String("0"))
            txtBPM[i]->clear();
    }
    const QString text = percentDifferenceText(txtBPM[1]->text(), txtBPM[2]->text());
    if (!text.isEmpty())
        skinlblPercentDifference->setText(text);
}

void frmMetronome::ApplyDetectedBPM(QString &sBPM)
{
    if (tabTempoSource->currentIndex() != 1)
        return;
    auto tempo = tempoOfText(sBPM);
    if (!tempo)
        return;
    const int channel = selectedChannel();
    if (channel != 1 && channel != 2)
        return;
    txtBPM[channel]->setText(QString::number(*tempo));
    (channel == 1 ? mlChannel1IntervalMS : mlChannel2IntervalMS) = BPMToInterval(*tempo);
    UpdatePercentDifference();
    CalculateDynamicNudge();
}

void frmMetronome::RegisterTempoTap()
{
    // Monotonic time: a tap run across midnight or a clock change measures its true interval.
    const double now = clock().monotonicSeconds();
    const double intervalMs = std::fabs(now - beatClock.mdLastTapTime) * 1000.0 - 15.0;
    if (beatClock.mdLastTapTime > 0) {
        if (const auto interval = roundToInt32(intervalMs))
            StartMetronome(*interval, true, 1);
    }
    beatClock.mdLastTapTime = now;
    txtBeatColor->setBeatColor(Qt::white);
    sknlblTapStats->setText(QStringLiteral("Tempo tap samples averaged: %1").arg(beatClock.miIntervalHistoryIndex + 2));
}

void frmMetronome::cmdTempoTap_Click()
{
    RegisterTempoTap();
}

bool frmMetronome::Form_KeyPress(QKeyEvent *event)
{
    // Keys meant for the typing boxes are theirs, not taps.
    QWidget *focus = QApplication::focusWidget();
    if (focus == txtManualTempo || focus == txtNudgeMS)
        return false;
    if (event->isAutoRepeat())
        return true;
    RegisterTempoTap();
    return true;
}

void frmMetronome::sldrBPM_Change()
{
    auto bpm = roundToInt16(sldrBPM->value());
    if (bpm)
        StartMetronome(BPMToInterval(*bpm), false, 1);
}

void frmMetronome::sldrBPM_MouseUp()
{
    sldrBPM_Change();
}

bool frmMetronome::sldrBPM_KeyDown(QKeyEvent *event)
{
    // Up raises the tempo and Down lowers it, whatever the style's own direction.
    int step = 0;
    if (event->key() == Qt::Key_Up)
        step = sldrBPM->singleStep();
    else if (event->key() == Qt::Key_Down)
        step = -sldrBPM->singleStep();
    if (step == 0)
        return false;
    sldrBPM->setValue(sldrBPM->value() + step);
    return true;
}

void frmMetronome::stepTempo(int delta)
{
    auto bpm = roundToInt16(double(sldrBPM->value()) + delta);
    if (!bpm)
        return;
    StartMetronome(BPMToInterval(*bpm), false, resyncStartBeat());
}

void frmMetronome::cmdMinusSldrBPM_Click()
{
    stepTempo(-1);
}

void frmMetronome::cmdPlusSldrBPM_Click()
{
    stepTempo(+1);
}

void frmMetronome::applyManualTempoText()
{
    if (auto tempo = tempoOfText(txtManualTempo->text()))
        StartMetronome(BPMToInterval(*tempo), false, resyncStartBeat());
}

void frmMetronome::cmdUseManualTempo_Click()
{
    applyManualTempoText();
}

void frmMetronome::cmdDivided2_Click()
{
    const auto tempo = tempoOfText(txtManualTempo->text());
    if (!tempo)
        return;
    txtManualTempo->setText(QString::number(*tempo / 2.0));
    applyManualTempoText();
}

void frmMetronome::cmdTimes2_Click()
{
    const auto tempo = tempoOfText(txtManualTempo->text());
    if (!tempo)
        return;
    const auto doubled = roundToInt16(*tempo * 2.0);
    if (!doubled)
        return;
    txtManualTempo->setText(QString::number(*doubled));
    applyManualTempoText();
}

bool frmMetronome::NumericKeyFilter(QKeyEvent *event)
{
    const QString text = event->text();
    // Keys that type nothing (arrows, Delete, Home) are editing, not input.
    if (text.isEmpty())
        return true;
    if (numericKeyPasses(text.at(0).unicode()))
        return true;
    showMessage(QStringLiteral("Bad Input"), QStringLiteral("Please enter numeric values only, with no spaces or periods   "),
                MessageIcon::Warning, QMessageBox::Ok, QMessageBox::NoButton, this);
    return false;
}

bool frmMetronome::txtManualTempo_KeyPress(QKeyEvent *event)
{
    if (!NumericKeyFilter(event))
        return true;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        applyManualTempoText();
        return true;
    }
    // At most three typed characters; the halving may still write "62.5" into the box.
    const QChar typed = event->text().isEmpty() ? QChar() : event->text().at(0);
    if (typed.isDigit() || typed == u',') {
        const qsizetype kept = txtManualTempo->text().size() - txtManualTempo->selectedText().size();
        if (kept >= manualTempoMaxLength)
            return true;
    }
    return false;
}

void frmMetronome::keyPressEvent(QKeyEvent *event)
{
    if (!Form_KeyPress(event))
        QMainWindow::keyPressEvent(event);
}

bool frmMetronome::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == txtManualTempo)
            return txtManualTempo_KeyPress(key);
        if (watched == txtNudgeMS)
            return txtNudgeMS_KeyPress(key);
        if (watched == sldrBPM)
            return sldrBPM_KeyDown(key);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pulsivar
