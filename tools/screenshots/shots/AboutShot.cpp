// SPDX-License-Identifier: GPL-2.0-or-later
// The About window.
#include "Shot.h"

#include "common/ProgramIcon.h"
#include "extras/frmAbout.h"

#include <QApplication>

namespace {

const pulsivar::screenshots::ShotRegistration about{
    QStringLiteral("about"), [] {
        QApplication::setWindowIcon(pulsivar::programIcon());
        return std::unique_ptr<QWidget>(std::make_unique<pulsivar::frmAbout>());
    }};

} // namespace
