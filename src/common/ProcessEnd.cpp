// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>

namespace pulsivar {

namespace {
std::function<void(int)> &enderSlot()
{
    static std::function<void(int)> ender;
    return ender;
}
} // namespace

bool &processShuttingDown()
{
    static bool shuttingDown = false;
    return shuttingDown;
}

void endProcess(int exitCode)
{
    if (enderSlot()) {
        enderSlot()(exitCode);
        return;
    }
    // No further event of any window may run: settings are already on disk, so leave now.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void setProcessEnder(std::function<void(int)> ender)
{
    enderSlot() = std::move(ender);
}

} // namespace pulsivar
