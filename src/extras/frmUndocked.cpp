// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/frmUndocked.h"

#include "settings/ProgramState.h"
#include "common/Colors.h"
#include "common/FormLayout.h"
#include "common/Steps.h"
#include "common/Twips.h"
#include "extras/UndockedLayout.h"
#include "common/ProcessEnd.h"
#include "platform/AlwaysOnTop.h"
#include "platform/Skin.h"
#include "platform/WindowPlacement.h"

#include <QCheckBox>
#include <QLineEdit>

namespace pulsivar {

namespace {

} // namespace

frmUndocked::frmUndocked(QWidget *parent)
    : KeptWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmUndocked"));
    setWindowTitle(QStringLiteral("Undocked Tempo Display"));
    resize(twipsToPixels(7680), twipsToPixels(5835));

    chkAlwaysOnTop = new QCheckBox(QStringLiteral("Always on top"), this);
    chkAlwaysOnTop->setObjectName(QStringLiteral("chkAlwaysOnTop"));
    chkAlwaysOnTop->setToolTip(QStringLiteral("Display this window on top of all other windows"));
    chkAlwaysOnTop->setGeometry(twipsRect(75, 90, 1785, 225));
    connect(chkAlwaysOnTop, &QCheckBox::clicked, this, &frmUndocked::chkAlwaysOnTop_Click);

    chkPlayWave = new QCheckBox(QStringLiteral("Play sound"), this);
    chkPlayWave->setObjectName(QStringLiteral("chkPlayWave"));
    chkPlayWave->setToolTip(QStringLiteral("Play a sound when beats occure"));
    chkPlayWave->setGeometry(twipsRect(1905, 90, 1590, 195));
    connect(chkPlayWave, &QCheckBox::clicked, this, &frmUndocked::chkPlayWave_Click);

    txtBeatColor = new QLineEdit(this);
    txtBeatColor->setObjectName(QStringLiteral("txtBeatColor"));
    txtBeatColor->setReadOnly(true);
    txtBeatColor->setFocusPolicy(Qt::NoFocus);
    txtBeatColor->setAlignment(Qt::AlignCenter);
    txtBeatColor->setFrame(true);
    // The beat's colour is the message; skins leave this box alone.
    txtBeatColor->setProperty(skinExemptProperty, true);
    txtBeatColor->setGeometry(twipsRect(75, 360, 3405, 2925));

    Form_Load();
}

void frmUndocked::Form_Load()
{
    runStep([this] { applySkinAndPlacement(); });
    runStep([this] { setBox(Qt::white, QString()); });
    // Starts in step with the setting even before the menu first pushes it.
    runStep([this] { chkPlayWave->setChecked(settings().PlayBeatSound); });
}

void frmUndocked::ShowMe(bool bPlayBeatSoundChecked)
{
    runStep([this] { applySkin(); });
    runStep([&] { chkPlayWave->setChecked(bPlayBeatSoundChecked); });
    show();
}

void frmUndocked::setPlayWave(bool on)
{
    chkPlayWave->setChecked(on);
}

void frmUndocked::showBeat(const QColor &color, const QString &text)
{
    setBox(color, text);
    txtBeatColor->repaint();
}

void frmUndocked::clearBeat()
{
    setBox(Qt::white, QString());
}

void frmUndocked::setBox(const QColor &color, const QString &text)
{
    mBoxColor = color;
    txtBeatColor->setText(text);
    fitBeatFont();
}

void frmUndocked::fitBeatFont()
{
    // The number fills most of the box so it reads from across the booth; one or two digits fit.
    const int pixels = qMax(32, qMin(txtBeatColor->height() * 3 / 4, txtBeatColor->width() * 2 / 3));
    txtBeatColor->setStyleSheet(QStringLiteral("QLineEdit#txtBeatColor { background-color: %1; color: %2; "
                                               "font-size: %3px; font-weight: bold; }")
                                    .arg(mBoxColor.name(), readableTextOn(mBoxColor).name())
                                    .arg(pixels));
}

void frmUndocked::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    runStep([this] { Form_Resize(); });
}

void frmUndocked::Form_Resize()
{
    const QRect outer = frameGeometry();
    const QSize window(pixelsToTwips(outer.width()), pixelsToTwips(outer.height()));
    const QSize box(pixelsToTwips(txtBeatColor->width()), pixelsToTwips(txtBeatColor->height()));
    const QSize fitted = undockedBoxSize(window, box);
    if (fitted != box) {
        txtBeatColor->resize(twipsToPixels(fitted.width()), twipsToPixels(fitted.height()));
        fitBeatFont();
    }
}

void frmUndocked::Form_Unload()
{
    emit undockClosed();
    // Only the final close keeps the place; closing by hand only hides the window where it is.
    if (processShuttingDown())
        runStep([this] { savePlacement(); });
}

void frmUndocked::chkAlwaysOnTop_Click()
{
    if (chkAlwaysOnTop->isChecked())
        SetAlwaysOnTop(this);
    else
        ClearAlwaysOnTop(this);
}

void frmUndocked::chkPlayWave_Click()
{
    const bool on = chkPlayWave->isChecked();
    settings().PlayBeatSound = on;
    emit playBeatSoundToggled(on);
}

void frmUndocked::applySkinAndPlacement()
{
    runStep([this] { applySkin(); });
    runStep([this] { RestoreFormPosition(this); });
}

void frmUndocked::applySkin()
{
    ApplyProgramSkin(this, settings().ProgramSkin);
}

void frmUndocked::savePlacement()
{
    SaveFormPosition(this);
}

SingleWindow<frmUndocked> &undockedWindow()
{
    static SingleWindow<frmUndocked> window;
    return window;
}

void mirrorBeatOnUndockedDisplay(const QColor &color, const QString &text)
{
    frmUndocked &window = undockedDisplay();
    if (window.isVisible())
        window.showBeat(color, text);
}

void clearUndockedDisplay()
{
    frmUndocked &window = undockedDisplay();
    if (window.isVisible())
        window.clearBeat();
}

} // namespace pulsivar
