// SPDX-License-Identifier: GPL-2.0-or-later
#include "Autocorrelation.h"

#include <algorithm>
#include <cmath>

namespace pulsivar::beatdetect {

Autocorrelation::Autocorrelation(int maxLag, double decay)
    : maxLag_(maxLag), decay_(decay), history_(maxLag + 1, 0.0f), acf_(maxLag + 1, 0.0),
      normalised_(maxLag + 1, 0.0)
{
}

void Autocorrelation::add(float raw)
{
    if (!std::isfinite(raw))
        raw = 0.0f;
    // A little smoothing widens sharp onsets beyond a frame, so that periods that fall between
    // whole frames correlate as well as those that do not.
    const float value = 0.25f * raw + 0.5f * previous_[0] + 0.25f * previous_[1];
    previous_[1] = previous_[0];
    previous_[0] = raw;
    const int size = static_cast<int>(history_.size());
    historyPos_ = (historyPos_ + 1) % size;
    history_[historyPos_] = value;
    ++frames_;
    const int lags = static_cast<int>(std::min<long long>(maxLag_, frames_ - 1));
    for (int lag = 0; lag <= maxLag_; ++lag) {
        acf_[lag] *= decay_;
        if (lag <= lags)
            acf_[lag] += static_cast<double>(value) * history_[(historyPos_ - lag + size) % size];
    }
}

bool Autocorrelation::normalise()
{
    const double energy = acf_[0];
    if (!(energy > 1e-12)) {
        std::fill(normalised_.begin(), normalised_.end(), 0.0);
        return false;
    }
    for (int lag = 0; lag <= maxLag_; ++lag)
        normalised_[lag] = acf_[lag] / energy;
    return true;
}

double Autocorrelation::at(double lag) const
{
    if (lag < 0 || lag >= maxLag_)
        return 0.0;
    const int i = static_cast<int>(lag);
    const double f = lag - i;
    return normalised_[i] * (1.0 - f) + normalised_[i + 1] * f;
}

double Autocorrelation::comb(double period, int harmonics) const
{
    double sum = 0.0;
    int count = 0;
    for (int k = 1; k <= harmonics && period * k < maxLag_; ++k) {
        sum += at(period * k);
        ++count;
    }
    return count ? sum / count : 0.0;
}

float Autocorrelation::recent(int back) const
{
    const int size = static_cast<int>(history_.size());
    return history_[((historyPos_ - back) % size + size) % size];
}

} // namespace pulsivar::beatdetect
