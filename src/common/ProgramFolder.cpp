// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace pulsivar {

namespace {
QString &overrideSlot()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overrideSlot().isEmpty())
        return overrideSlot();
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString &fileName)
{
    return QDir(programFolder()).filePath(fileName);
}

void setProgramFolder(const QString &folder)
{
    overrideSlot() = folder;
}

} // namespace pulsivar
