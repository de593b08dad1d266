#pragma once
// The program's entry routine and its one way out.
#include <functional>

namespace pulsivar {

// Creates the shared objects, loads the settings, installs the support files, shows the main window.
void Main();
// Saves the settings, closes every window and ends the process; runs once.
void ShutdownProgram();

// Secondary windows close at shutdown in the order they were registered here.
void registerSecondaryWindowCloser(std::function<void()> closer);

// Lets tests run Main and ShutdownProgram again in one process.
void resetStartupForTests();

} // namespace pulsivar
