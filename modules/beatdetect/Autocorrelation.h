// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A leaky autocorrelation of one onset signal: recent seconds weigh most, so the tempo can move.

#include <vector>

namespace pulsivar::beatdetect {

class Autocorrelation {
public:
    Autocorrelation(int maxLag, double decay);

    // One zero-mean value a frame.
    void add(float raw);
    // Scales the lags by the energy at lag 0; call before reading at().
    bool normalise();

    // Normalised autocorrelation at a fractional lag; 0 outside the range.
    double at(double lag) const;
    // Mean of the autocorrelation at the first `harmonics` multiples of the period that fit.
    double comb(double period, int harmonics) const;

    int maxLag() const { return maxLag_; }
    long long frames() const { return frames_; }
    // The value `back` frames before the newest (0 = newest), back < maxLag.
    float recent(int back) const;

private:
    int maxLag_;
    double decay_;
    std::vector<float> history_;
    int historyPos_ = 0;
    long long frames_ = 0;
    float previous_[2] = {0.0f, 0.0f};
    std::vector<double> acf_;
    std::vector<double> normalised_;
};

} // namespace pulsivar::beatdetect
