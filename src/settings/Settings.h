// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading the settings into the program state at start, and writing them back at exit.
namespace pulsivar {

// Fills settings() with defaults, then the stored values; may show the upgrade notice.
void LoadSettings();
// Writes every setting in one go, so an interrupted save leaves the previous file whole.
void SaveSettings();

} // namespace pulsivar
