// SPDX-License-Identifier: GPL-2.0-or-later
// The undocked tempo display showing beat one on its colour.
#include "Shot.h"

#include "settings/ProgramState.h"
#include "common/Colors.h"
#include "extras/frmUndocked.h"

namespace {

const pulsivar::screenshots::ShotRegistration undocked{
    QStringLiteral("undocked"), [] {
        auto window = std::make_unique<pulsivar::frmUndocked>();
        window->showBeat(pulsivar::colorFromColorRef(pulsivar::settings().BeatColor1), QStringLiteral("1"));
        return std::unique_ptr<QWidget>(std::move(window));
    }};

} // namespace
