#pragma once
// Ends the process at once; tests replace the ending so the test process lives on.
#include <functional>

namespace pulsivar {

void endProcess(int exitCode);
// An empty function brings back the real ending.
void setProcessEnder(std::function<void(int)> ender);

} // namespace pulsivar
