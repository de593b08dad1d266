// SPDX-License-Identifier: GPL-2.0-or-later
// The harmonic key mixing window with the top of the wheel clicked.
#include "Shot.h"

#include "harmonic/frmCamelot.h"
#include "harmonic/MusicKeyTable.h"

namespace {

const pulsivar::screenshots::ShotRegistration harmonic{
    QStringLiteral("harmonic"), [] {
        auto window = std::make_unique<pulsivar::frmCamelot>();
        window->lblWheelSpace_Click(pulsivar::musicKeyAt(pulsivar::WheelRing::Outer, 12));
        return std::unique_ptr<QWidget>(std::move(window));
    }};

} // namespace
