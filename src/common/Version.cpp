// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/Version.h"

#include "common/BuildConfig.h"
#include "common/NumberText.h"

#include <QStringList>

namespace pulsivar {

QString programName()
{
    return QString::fromLatin1(build::programName);
}

QString currentVersionString()
{
    return QStringLiteral("%1.%2.%3").arg(build::versionMajor).arg(build::versionMinor).arg(build::versionRevision);
}

QString programTitle()
{
    return QStringLiteral("%1 v%2.%3").arg(programName()).arg(build::versionMajor).arg(build::versionMinor);
}

namespace {
// Text of the given part: the text between the (index)th and the next ".", or to the end.
QString versionPart(const QString &version, int index)
{
    const QStringList parts = version.split(u'.');
    return index < parts.size() ? parts[index] : QString();
}

enum class PartOrder { Older, Newer, Same, Undecided };

PartOrder comparePart(const QString &oldPart, const QString &newPart)
{
    if (oldPart.isEmpty() || newPart.isEmpty())
        return PartOrder::Undecided;
    const auto oldValue = toInt32(oldPart);
    const auto newValue = toInt32(newPart);
    // A part that does not fit 32 bits decides nothing.
    if (!oldValue || !newValue)
        return PartOrder::Undecided;
    if (*oldValue < *newValue)
        return PartOrder::Newer;
    if (*oldValue > *newValue)
        return PartOrder::Older;
    return PartOrder::Same;
}
} // namespace

bool IsNewerVersion(const QString &sOldVersion, const QString &sNewVersion)
{
    if (sOldVersion == sNewVersion)
        return false;
    QString oldDigits = sOldVersion;
    QString newDigits = sNewVersion;
    oldDigits.remove(u'.');
    newDigits.remove(u'.');
    if (!isNumeric(oldDigits) || !isNumeric(newDigits))
        return false;

    for (int index = 0; index < 2; ++index) {
        switch (comparePart(versionPart(sOldVersion, index), versionPart(sNewVersion, index))) {
        case PartOrder::Newer: return true;
        case PartOrder::Older:
        case PartOrder::Undecided: return false;
        case PartOrder::Same: break;
        }
    }
    return comparePart(versionPart(sOldVersion, 2), versionPart(sNewVersion, 2)) == PartOrder::Newer;
}

} // namespace pulsivar
