// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Asks the maker's web site for the latest version and tells the user what it found.
#include <QUrl>
#include <QWidget>

namespace pulsivar {

// <web site>/Pulsivar/ProgVersion.txt, unless a test points it elsewhere.
QUrl versionFileUrl();
// An empty URL brings back the web site's file.
void setVersionFileUrl(const QUrl &url);
// How long the whole download may take; 0 or less brings back the 10 seconds.
void setUpdateCheckTimeout(int milliseconds);

// With bShowNoNewVerMsgbox every outcome is reported; without it only a newer version is.
// The owner waits with the hourglass and takes no input while the file downloads.
void CheckForProgramUpdates(QWidget *owner, bool bShowNoNewVerMsgbox);

} // namespace pulsivar
