// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reads the version file that the maker's web site publishes: the latest version and its address.
#include <QString>
#include <optional>

namespace pulsivar {

struct VersionFileContent {
    QString latestVersion;   // the first line, blanks trimmed
    QString downloadAddress; // the rest with every CR LF removed, blanks trimmed; may be empty
};

// Nothing when the text has no CR LF, or when its first line is too long to be a version line
// (32,767 characters or more).
std::optional<VersionFileContent> parseVersionFile(const QString &text);

// Whether an address from the network may be opened: only what opens as an http or https page.
bool isWebDownloadAddress(const QString &address);

} // namespace pulsivar
