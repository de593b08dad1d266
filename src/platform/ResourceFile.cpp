// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ResourceFile.h"

#include "platform/FileReplacement.h"

#include <QFile>

namespace pulsivar {

std::optional<QString> writeResourceFile(const QString &resource, const QString &path)
{
    QFile source(resource);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("The resource %1 could not be read: %2").arg(resource, source.errorString());
    const QByteArray bytes = source.readAll();
    if (bytes.isEmpty())
        return QStringLiteral("The resource %1 is empty").arg(resource);
    // Whole or not at all; a dangling link in its place is replaced, not written through.
    return replaceFileContent(path, bytes);
}

} // namespace pulsivar
