// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The lines the About window shows, worked out from the version record and the executable.
#include <QLocale>
#include <QString>

namespace pulsivar {

// "Pulsivar v5.0"
QString aboutVersionLine();
// "Build number 70"
QString aboutBuildNumberLine();
// The executable's path in the program folder, without a doubled separator at a root.
QString executablePathIn(const QString &folder, const QString &executableName);
// "Built on " and the file's last-modified date and time in the locale's format, lower-cased;
// only "Built on " when the file cannot be found.
QString aboutBuildDateLine(const QString &executablePath, const QLocale &locale = QLocale::system());
// The running executable: the program folder and the executable's own file name.
QString runningExecutablePath();

} // namespace pulsivar
