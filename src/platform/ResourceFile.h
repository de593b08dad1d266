// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writing a resource the program carries into a file beside it.
#include <QString>
#include <optional>

namespace pulsivar {

// Copies the resource (":/TYPE/id") into path, whole or not at all: a half-written file would
// count as present from then on. The description of the failure, or nullopt on success.
std::optional<QString> writeResourceFile(const QString &resource, const QString &path);

} // namespace pulsivar
