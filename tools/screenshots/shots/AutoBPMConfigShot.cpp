// SPDX-License-Identifier: GPL-2.0-or-later
// The automatic detection dialog with its default colour and silence time-out.
#include "Shot.h"

#include "detect/frmAutoBPMConfig.h"

namespace {

const pulsivar::screenshots::ShotRegistration detection{
    QStringLiteral("detection"), [] { return std::unique_ptr<QWidget>(std::make_unique<pulsivar::frmAutoBPMConfig>()); }};

} // namespace
