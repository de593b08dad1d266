// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/SilenceTracker.h"

#include "detect/SilenceTimeout.h"

#include <cmath>

namespace pulsivar {

void SilenceTracker::reset()
{
    mdtSilenceStart.reset();
    mbInputHasSound = false;
    quietBlocks = 0;
}

void SilenceTracker::addBlock(int32_t peak, double nowSeconds)
{
    if (peak > quietPeak) {
        mbInputHasSound = true;
        quietBlocks = 0;
        mdtSilenceStart.reset();
        return;
    }
    ++quietBlocks;
    if (quietBlocks > quietBlocksBeforeSilence) {
        // Stamped only on the change from sound to silence: an input that never carried sound
        // never times out.
        if (mbInputHasSound)
            mdtSilenceStart = nowSeconds;
        quietBlocks = 0;
        mbInputHasSound = false;
    }
}

bool SilenceTracker::timedOut(double nowSeconds, int32_t timeoutSeconds) const
{
    if (isNoTimeout(timeoutSeconds) || !mdtSilenceStart)
        return false;
    return secondBoundariesBetween(*mdtSilenceStart, nowSeconds) > timeoutSeconds;
}

int64_t secondBoundariesBetween(double fromSeconds, double toSeconds)
{
    return int64_t(std::floor(toSeconds)) - int64_t(std::floor(fromSeconds));
}

} // namespace pulsivar
