// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writes a detection module the program carries back into the program folder when it is missing.
#include <QString>

namespace pulsivar {

// When name is missing from the program folder, asks the user and writes the "DLL" resource
// resourceId there. True when the file is there afterwards; false when the user declined or the
// write failed (reported), which leaves automatic tempo detection off for the run.
bool ExtractSupportDll(const QString &name, int resourceId);

} // namespace pulsivar
