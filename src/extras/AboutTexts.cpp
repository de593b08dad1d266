// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/AboutTexts.h"

#include "common/Version.h"
#include "common/BuildConfig.h"
#include "common/ProgramFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace pulsivar {

namespace {
// The regional short time, with seconds added where the format leaves them out.
QString timeFormatWithSeconds(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's')) {
        const qsizetype minutes = format.indexOf(QLatin1String("mm"));
        if (minutes >= 0)
            format.insert(minutes + 2, QLatin1String(":ss"));
    }
    return format;
}
} // namespace

QString aboutVersionLine()
{
    return programTitle();
}

QString aboutBuildNumberLine()
{
    return QStringLiteral("Build number ") + QString::number(build::versionRevision);
}

QString executablePathIn(const QString &folder, const QString &executableName)
{
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + executableName;
    return folder + u'/' + executableName;
}

QString aboutBuildDateLine(const QString &executablePath, const QLocale &locale)
{
    const QString lead = QStringLiteral("Built on ");
    const QFileInfo file(executablePath);
    if (executablePath.isEmpty() || !file.exists())
        return lead;
    const QDateTime modified = file.lastModified();
    if (!modified.isValid())
        return lead;
    const QString text = locale.toString(modified.date(), QLocale::ShortFormat) + u' '
                         + locale.toString(modified.time(), timeFormatWithSeconds(locale));
    return lead + locale.toLower(text);
}

QString runningExecutablePath()
{
    return executablePathIn(programFolder(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

} // namespace pulsivar
