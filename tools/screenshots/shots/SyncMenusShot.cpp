// SPDX-License-Identifier: GPL-2.0-or-later
// The Options menu with Ableton Link on, beside the MIDI clock out menu it opens.
#include "Shot.h"

#include "app/frmMetronome.h"
#include "settings/ProgramState.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

namespace {

std::unique_ptr<QWidget> syncMenus()
{
    pulsivar::settings().PlayBeatSound = false;
    pulsivar::frmMetronome window;
    window.Form_Load();
    // The menus show the choices without opening a session or a port: the picture needs neither.
    pulsivar::settings().MidiClockOutPort = QStringLiteral("Pulsivar clock");
    window.mnuOptions_AbletonLink->setChecked(true);
    window.listMidiClockPorts();
    auto *options = window.findChild<QMenu *>(QStringLiteral("mnuOptions"));
    auto sheet = std::make_unique<QWidget>();
    auto *row = new QHBoxLayout(sheet.get());
    for (QMenu *menu : {options, window.mnuOptions_MidiClockOut}) {
        menu->ensurePolished();
        menu->resize(menu->sizeHint());
        auto *picture = new QLabel;
        picture->setPixmap(menu->grab());
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    pulsivar::settings().MidiClockOutPort.clear();
    return sheet;
}

const pulsivar::screenshots::ShotRegistration shot{QStringLiteral("sync-menus"), syncMenus};

} // namespace
