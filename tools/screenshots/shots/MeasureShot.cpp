// SPDX-License-Identifier: GPL-2.0-or-later
// The measure dialog at seven beats with beats 1 and 4 accented.
#include "Shot.h"

#include "settings/ProgramState.h"
#include "metronome/frmMeasureConfig.h"

namespace {

const pulsivar::screenshots::ShotRegistration measure{
    QStringLiteral("measure"), [] {
        pulsivar::settings().BeatsPerMeasure = 7;
        pulsivar::settings().AccentBeatConfig = QStringLiteral("1001000");
        return std::unique_ptr<QWidget>(std::make_unique<pulsivar::frmMeasureConfig>());
    }};

} // namespace
