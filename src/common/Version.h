// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's version text and the comparison of two version texts.
#include <QString>

namespace pulsivar {

// "Pulsivar": the name every text of the program calls it by.
QString programName();
// "5.0.70": major, minor and revision without leading zeros.
QString currentVersionString();
// "Pulsivar v5.0": the title's form, without the revision.
QString programTitle();

// True when sNewVersion denotes a later version than sOldVersion.
bool IsNewerVersion(const QString &sOldVersion, const QString &sNewVersion);

} // namespace pulsivar
