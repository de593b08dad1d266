// SPDX-License-Identifier: GPL-2.0-or-later
// Tempo entry on the main window: channels, tap, slider, steps and typing.
#include "app/frmMetronome.h"

#include "settings/ProgramState.h"
#include "common/Clock.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
#include "common/SliderKeys.h"
#include "metronome/BeatIndicator.h"
#include "platform/SkinLabel.h"
#include "tempo/TapKeys.h"
#include "tempo/TempoText.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>


namespace pulsivar {

void frmMetronome::optChannel_Click(int Index)
{
    if (tabTempoSource->currentIndex() == 1)
        chkHoldAudioBPM->setChecked(false);
    showDeckWidgets();
    // Two decks need a second detector, one deck gives it up: the run starts again as chosen.
    if (detectionRun.isSampling() && (Index == TempoChannels::leftRightAudio) != detectionRun.bothSides())
        restartSampling();
    // The channel's own exact tempo, whatever its box shows.
    if ((Index == 1 || Index == 2) && tempoChannels.tempo(Index) > 0) {
        startAtTempo(tempoChannels.tempo(Index), 1);
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
    // The detected tempo as it is, decimals and all: rounded, 127.99 would beat at 128.
    if (!tempoChannels.channelSelected())
        return;
    applyDetectedTempo(tempoChannels.selected(), sBPM);
}

void frmMetronome::applyDetectedTempo(int channel, const QString &sBPM)
{
    const auto tempo = numericValue(sBPM);
    if (!tempo || !(*tempo > 0) || channel < 1 || channel > 2)
        return;
    tempoChannels.setTempo(channel, *tempo);
    txtBPM[channel]->setText(channelTempoText(*tempo));
    UpdatePercentDifference();
    CalculateDynamicNudge();
}

void frmMetronome::RegisterTempoTap()
{
    registerTapAt(clock().monotonicSeconds());
}

void frmMetronome::registerTapAt(double tapSeconds)
{
    // Monotonic time: a tap run across midnight or a clock change measures its true interval.
    TapRun &taps = tempoChannels.taps;
    if (taps.isOpen())
        startTapped(taps.intervalTo(tapSeconds));
    taps.mdLastTapTime = tapSeconds;
    txtBeatColor->setBeatColor(Qt::white);
    sknlblTapStats->setText(QStringLiteral("Tempo tap samples averaged: %1").arg(taps.tapCount()));
}

void frmMetronome::cmdTempoTap_Click()
{
    // A press of the mouse or of Space has already tapped, at the moment it was made.
    if (tapTakenByPress) {
        tapTakenByPress = false;
        return;
    }
    RegisterTempoTap();
}

bool frmMetronome::cmdTempoTap_Press(QEvent *event)
{
    const bool mouse = event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    const bool space = event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
    if (space && static_cast<QKeyEvent *>(event)->isAutoRepeat())
        return true;
    if (mouse || space) {
        registerTapAt(clock().inputEventSeconds(static_cast<QInputEvent *>(event)->timestamp()));
        tapTakenByPress = true;
    }
    return false;
}

bool frmMetronome::Form_KeyPress(QKeyEvent *event)
{
    // Keys meant for the typing boxes are theirs, not taps.
    QWidget *focus = QApplication::focusWidget();
    if (focus == txtManualTempo || focus == txtNudgeMS)
        return false;
    if (event->isAutoRepeat())
        return true;
    if (!isTapKey(event->key(), event->modifiers(), event->text(), event->isAutoRepeat()))
        return false;
    registerTapAt(clock().inputEventSeconds(event->timestamp()));
    return true;
}

void frmMetronome::sldrBPM_Change()
{
    startAtTempo(sldrBPM->value(), 1);
}

void frmMetronome::sldrBPM_MouseUp()
{
    sldrBPM_Change();
}

bool frmMetronome::sldrBPM_KeyDown(QKeyEvent *event)
{
    return stepSliderByUpDownKey(sldrBPM, event);
}

void frmMetronome::stepTempo(int delta)
{
    startAtTempo(sldrBPM->value() + delta, resyncStartBeat());
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
    // A typed tempo is a whole number (the halving rounds as the rest do): 128 beats at 128.
    if (auto tempo = tempoOfText(txtManualTempo->text()))
        startAtTempo(*tempo == 0 ? 1 : *tempo, resyncStartBeat());
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
    // Keys that type nothing (arrows, Delete, Home) are editing, not input; so are the editing
    // shortcuts (select all, copy, paste, undo), whose result is checked as it arrives.
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return true;
    if (numericKeyPasses(text.at(0).unicode()))
        return true;
    showBadInput();
    return false;
}

void frmMetronome::showBadInput()
{
    showMessage(QStringLiteral("Bad Input"), QStringLiteral("Please enter numeric values only, with no spaces or periods   "),
                MessageIcon::Warning, QMessageBox::Ok, QMessageBox::NoButton, this);
}

void frmMetronome::typingBoxEdited(QLineEdit *box, const QString &text, int maxLength)
{
    // A paste or a drop brings text that no key filter saw.
    for (const QChar c : text) {
        if (!numericKeyPasses(c.unicode())) {
            box->undo();
            showBadInput();
            return;
        }
    }
    if (maxLength > 0 && text.size() > maxLength)
        box->undo();
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
    if (watched == static_cast<QObject *>(cmdTempoTap) && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        return cmdTempoTap_Press(event);
    if (event->type() == QEvent::FocusIn && (watched == txtManualTempo || watched == txtNudgeMS)) {
        // Typing replaces what the box holds; after the click that gave the focus has placed the cursor.
        auto *box = static_cast<QLineEdit *>(watched);
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
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
