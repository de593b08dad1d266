// SPDX-License-Identifier: GPL-2.0-or-later
// The main window beating at a typed tempo, in the default skin and in all thirteen.
#include "Shot.h"
#include "shots/SkinShots.h"

#include "app/frmMetronome.h"
#include "settings/ProgramState.h"

#include <QLineEdit>
#include <QTimer>

namespace {

std::unique_ptr<QWidget> beatingMainWindow()
{
    pulsivar::settings().PlayBeatSound = false;
    auto window = std::make_unique<pulsivar::frmMetronome>();
    window->Form_Load();
    window->StartMetronome(469, false, 1);
    window->findChild<QLineEdit *>(QStringLiteral("txtNudgeMS"))->setText(QStringLiteral("70"));
    window->oBeatTimer->stop();
    window->oBeatTimer_Timer();
    window->resize(window->sizeHint());
    return window;
}

const pulsivar::screenshots::ShotRegistration main{QStringLiteral("main"), beatingMainWindow};

const pulsivar::screenshots::ShotRegistration mainSkins{
    QStringLiteral("main-skins"), [] { return pulsivar::screenshots::skinContactSheet(beatingMainWindow); }};

} // namespace
