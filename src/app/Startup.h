// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's entry routine and its one way out.
#include <functional>

namespace pulsivar {

// One program a settings folder: false when another one already runs; it has then been asked to
// come to the front, and this process should leave.
bool claimProgramInstance();
// Creates the shared objects, loads the settings, installs the support files, shows the main window.
void Main();
// Saves the settings, closes every window and ends the process; runs once.
void ShutdownProgram();
// The same end for a signal or the desktop session's end: through the main window's unload when
// there is one, and with nothing that waits for an answer.
void ShutdownUnattended();
// Qt ends the process with exit() when the X display (or the Wayland compositor) is lost; it
// says so first, and this saves what the window holds then, unless shutdown already ran.
void saveSettingsWhenDisplayLost();

// Secondary windows close at shutdown in the order they were registered here.
void registerSecondaryWindowCloser(std::function<void()> closer);

// Lets tests run Main and ShutdownProgram again in one process.
void resetStartupForTests();

} // namespace pulsivar
