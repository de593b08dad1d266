// SPDX-License-Identifier: GPL-2.0-or-later
#include "tempo/MusicSync.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

void MusicSync::reset()
{
    error_ = 0;
    started_ = false;
    outliers_ = 0;
}

double MusicSync::phaseError(double gridSeconds, double beatSeconds, double periodSeconds)
{
    if (!(periodSeconds > 0))
        return 0;
    return std::remainder(gridSeconds - beatSeconds, periodSeconds);
}

double MusicSync::correction(double gridSeconds, double beatSeconds, double periodSeconds)
{
    const double error = phaseError(gridSeconds, beatSeconds, periodSeconds);
    if (!started_) {
        error_ = error;
        started_ = true;
    } else if (std::abs(error - error_) > outlierSeconds && ++outliers_ < outliersToFollow) {
        return 0;
    } else {
        if (std::abs(error - error_) > outlierSeconds)
            error_ = error;
        outliers_ = 0;
        error_ += readingWeight * (error - error_);
    }
    const double step = std::clamp(error_, -maxStepSeconds, maxStepSeconds);
    // The beats move by the step, so that much of the error is gone.
    error_ -= step;
    return -step;
}

} // namespace pulsivar
