// SPDX-License-Identifier: GPL-2.0-or-later
#include "TestEnvironment.h"

#include "common/ProgramFolder.h"
#include <QDir>

namespace pulsivar::test {

TestEnvironment::TestEnvironment()
    : previousConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    setProgramFolder(program.path());
}

TestEnvironment::~TestEnvironment()
{
    setProgramFolder({});
    if (previousConfigHome.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfigHome);
}

QString TestEnvironment::settingsFile() const
{
    return QDir(config.path()).filePath(QStringLiteral("Verrowind/Pulsivar.conf"));
}

} // namespace pulsivar::test
