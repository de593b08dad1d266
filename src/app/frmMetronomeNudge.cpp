// The nudge controls of the main window and the nudge's half of each beat tick.
#include "app/frmMetronome.h"

#include "app/state/ProgramState.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

namespace pulsivar {

namespace {
constexpr int16_t minNudgeMs = 20;
constexpr int16_t maxNudgeMs = 300;

void showInvalidTimeValue(QWidget *parent)
{
    showMessage(QStringLiteral("Invalid Time Value"),
                QStringLiteral("The metronome nudge value must be between 20 and 300 milliseconds   "),
                MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, parent);
}
} // namespace

void frmMetronome::ValidateNudgeBox()
{
    ProgramSettings &s = settings();
    if (!isNumeric(txtNudgeMS->text())) {
        txtNudgeMS->setText(QStringLiteral("70"));
        s.MSNUDGEVALUE = 70;
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
    const int channel = selectedChannel();
    if (channel != 1 && channel != 2)
        return;
    const int32_t interval = channel == 1 ? mlChannel1IntervalMS : mlChannel2IntervalMS;
    if (interval > 0)
        txtNudgeMS->setText(QString::number(int64_t(roundHalfEven(interval / 6.0))));
    const auto value = toInt16(txtNudgeMS->text());
    if (!value)
        return;
    ProgramSettings &s = settings();
    s.MSNUDGEVALUE = *value;
    if (s.MSNUDGEVALUE > maxNudgeMs) {
        s.MSNUDGEVALUE = maxNudgeMs;
        txtNudgeMS->setText(QString::number(maxNudgeMs));
    } else if (s.MSNUDGEVALUE < minNudgeMs) {
        s.MSNUDGEVALUE = minNudgeMs;
        txtNudgeMS->setText(QString::number(minNudgeMs));
    }
}

void frmMetronome::nudgeClick(Nudge::Direction direction)
{
    const bool alreadyPending = direction == Nudge::Direction::Faster ? nudge.mbNudgeFasterPending
                                                                      : nudge.mbNudgeSlowerPending;
    if (alreadyPending)
        return;
    ValidateNudgeBox();
    if (beatTimerInterval() <= 0) {
        showMessage(QStringLiteral("Metronome Stopped"),
                    QStringLiteral("You must start the metronome to nudge the real-time tempo faster or slower   "),
                    MessageIcon::Information, QMessageBox::Ok, QMessageBox::NoButton, this);
        return;
    }
    if (const auto period = nudge.click(direction, beatTimerInterval(), settings().MSNUDGEVALUE))
        setBeatTimerInterval(*period);
}

void frmMetronome::cmdNudgeFaster_Click()
{
    nudgeClick(Nudge::Direction::Faster);
}

void frmMetronome::cmdNudgeSlower_Click()
{
    nudgeClick(Nudge::Direction::Slower);
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

void frmMetronome::nudgeTick()
{
    if (const auto period = nudge.tick())
        setBeatTimerInterval(*period);
}

void frmMetronome::cancelNudge()
{
    nudge.cancel();
}

} // namespace pulsivar
