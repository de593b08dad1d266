#include "detect/SilenceTracker.h"

#include "detect/SilenceTimeout.h"

#include <cmath>

namespace pulsivar {

void SilenceTracker::reset(const QDateTime &farFuture)
{
    mdtFarFutureDate = farFuture;
    mdtSilenceStart = farFuture;
    mbInputHasSound = false;
    quietBlocks = 0;
}

void SilenceTracker::addBlock(int32_t peak, const QDateTime &now)
{
    if (peak > quietPeak) {
        mbInputHasSound = true;
        quietBlocks = 0;
        mdtSilenceStart = mdtFarFutureDate;
        return;
    }
    ++quietBlocks;
    if (quietBlocks > quietBlocksBeforeSilence) {
        // Stamped only on the change from sound to silence: an input that never carried sound
        // never times out.
        if (mbInputHasSound)
            mdtSilenceStart = now;
        quietBlocks = 0;
        mbInputHasSound = false;
    }
}

bool SilenceTracker::timedOut(const QDateTime &now, int32_t timeoutSeconds) const
{
    if (isNoTimeout(timeoutSeconds) || !mdtSilenceStart.isValid())
        return false;
    return secondBoundariesBetween(mdtSilenceStart, now) > timeoutSeconds;
}

qint64 secondBoundariesBetween(const QDateTime &from, const QDateTime &to)
{
    const auto wholeSeconds = [](const QDateTime &time) {
        return qint64(std::floor(double(time.toMSecsSinceEpoch()) / 1000.0));
    };
    return wholeSeconds(to) - wholeSeconds(from);
}

} // namespace pulsivar
