// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Replaces a file whole or not at all, and never writes through a symbolic link.
#include <QByteArray>
#include <QString>
#include <optional>

namespace pulsivar {

// Writes bytes into a new file beside path, checks every write, flushes it to the disk and only
// then renames it over path. A symbolic link at path is itself replaced, its target left alone.
// On failure path is as it was and the reason, for the user, is returned.
std::optional<QString> replaceFileContent(const QString &path, const QByteArray &bytes);

} // namespace pulsivar
