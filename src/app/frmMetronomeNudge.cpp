// SPDX-License-Identifier: GPL-2.0-or-later
// The nudge controls of the main window and the nudge's half of each beat tick.
#include "app/frmMetronome.h"

#include "common/Clock.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
#include "common/TempoLimits.h"
#include "settings/ProgramState.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

namespace pulsivar {

namespace {
void showInvalidTimeValue(QWidget *parent)
{
    showMessage(QStringLiteral("Invalid Time Value"),
                QStringLiteral("The metronome nudge value must be between %1 and %2 milliseconds   ")
                    .arg(minNudgeMs)
                    .arg(maxNudgeMs),
                MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, parent);
}
} // namespace

void frmMetronome::ValidateNudgeBox()
{
    ProgramSettings &s = settings();
    if (!isNumeric(txtNudgeMS->text())) {
        txtNudgeMS->setText(QString::number(defaultNudgeMs));
        s.MSNUDGEVALUE = defaultNudgeMs;
        return;
    }
    // A number too large for 16 bits counts as above the limit.
    const auto value = toInt16(txtNudgeMS->text());
    if (!value || *value > maxNudgeMs) {
        txtNudgeMS->setText(QString::number(maxNudgeMs));
        showInvalidTimeValue(this);
    }
    if (toInt16(txtNudgeMS->text()).value_or(0) < minNudgeMs) {
        txtNudgeMS->setText(QString::number(minNudgeMs));
        showInvalidTimeValue(this);
    }
    s.MSNUDGEVALUE = toInt16(txtNudgeMS->text()).value_or(s.MSNUDGEVALUE);
}

void frmMetronome::CalculateDynamicNudge()
{
    if (!tempoChannels.channelSelected())
        return;
    if (const auto calculated = tempoChannels.calculatedNudgeMs())
        txtNudgeMS->setText(QString::number(*calculated));
    const auto value = toInt16(txtNudgeMS->text());
    if (!value)
        return;
    // Limited without a word: the user did not type this one.
    ProgramSettings &s = settings();
    s.MSNUDGEVALUE = limitNudge(*value);
    if (s.MSNUDGEVALUE != *value)
        txtNudgeMS->setText(QString::number(s.MSNUDGEVALUE));
}

void frmMetronome::nudgeClick(int direction)
{
    ValidateNudgeBox();
    if (!isMetronomeRunning()) {
        showMessage(QStringLiteral("Metronome Stopped"),
                    QStringLiteral("You must start the metronome to nudge the real-time tempo faster or slower   "),
                    MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, this);
        return;
    }
    // Every later beat moves by exactly the nudge, wherever in the beat it is pressed.
    grid.shift(clock().monotonicSeconds(), direction * settings().MSNUDGEVALUE / 1000.0);
    publishBeat();
    armBeatTimer();
}

void frmMetronome::cmdNudgeFaster_Click()
{
    nudgeClick(-1);
}

void frmMetronome::cmdNudgeSlower_Click()
{
    nudgeClick(+1);
}

void frmMetronome::txtNudgeMS_Validate()
{
    ValidateNudgeBox();
}

bool frmMetronome::txtNudgeMS_KeyPress(QKeyEvent *event)
{
    if (!NumericKeyFilter(event))
        return true;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ValidateNudgeBox();
        return true;
    }
    return false;
}

// The box is read when the metronome next starts.
void frmMetronome::chkAllowNudgeCalc_Click() {}

} // namespace pulsivar
