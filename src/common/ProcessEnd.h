// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The end of the process: whether it has begun, and the ending itself, which tests replace so
// the test process lives on.
#include <functional>

namespace pulsivar {

// True from the first step of shutdown on; windows that only hide when closed close for good then.
bool &processShuttingDown();

void endProcess(int exitCode);
// An empty function brings back the real ending.
void setProcessEnder(std::function<void(int)> ender);

} // namespace pulsivar
