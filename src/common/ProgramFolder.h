// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The folder of the running executable, where the program keeps its support files.
#include <QString>

namespace pulsivar {

QString programFolder();
// The path of a file in the program folder.
QString programFile(const QString &fileName);
// Tests point the program folder at a temporary directory; an empty path undoes it.
void setProgramFolder(const QString &folder);

} // namespace pulsivar
