// SPDX-License-Identifier: GPL-2.0-or-later
#include "OnsetEnvelope.h"

#include <algorithm>
#include <cmath>
#include <fftw3.h>
#include <mutex>

namespace pulsivar::beatdetect {

namespace {
// FFTW's planner is not thread-safe; executing a plan is.
std::mutex& plannerMutex()
{
    static std::mutex m;
    return m;
}

int binOf(double hz)
{
    return static_cast<int>(std::lround(hz * OnsetEnvelope::kWindow / OnsetEnvelope::kSampleRate));
}

constexpr int kBins = OnsetEnvelope::kWindow / 2 + 1;
// Compression of magnitudes: the flux of log magnitudes hardly depends on the input level.
constexpr float kCompression = 1000.0f;
} // namespace

OnsetEnvelope::OnsetEnvelope()
    : ring_(kWindow, 0.0f), window_(kWindow), logMag_(kBins, 0.0f), prevLogMag_(kBins, 0.0f), mag_(kBins, 0.0f),
      prevMag_(kBins, 0.0f)
{
    constexpr double pi = 3.14159265358979323846;
    for (int i = 0; i < kWindow; ++i)
        window_[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * pi * i / kWindow));
    bandEdges_ = {binOf(30), binOf(220), binOf(2500), binOf(11000)};

    std::lock_guard lock(plannerMutex());
    fftIn_ = fftwf_alloc_real(kWindow);
    auto* out = fftwf_alloc_complex(kBins);
    fftOut_ = out;
    if (fftIn_ && out)
        plan_ = fftwf_plan_dft_r2c_1d(kWindow, fftIn_, out, FFTW_ESTIMATE);
}

OnsetEnvelope::~OnsetEnvelope()
{
    std::lock_guard lock(plannerMutex());
    if (plan_)
        fftwf_destroy_plan(static_cast<fftwf_plan>(plan_));
    fftwf_free(fftIn_);
    fftwf_free(fftOut_);
}

bool OnsetEnvelope::addSample(float sample)
{
    if (!std::isfinite(sample))
        sample = 0.0f;
    sample = std::clamp(sample, -4.0f, 4.0f);
    ring_[ringPos_] = sample;
    ringPos_ = (ringPos_ + 1) % kWindow;
    peak_ = std::max(peak_, std::fabs(sample));
    if (++sinceHop_ < kHop)
        return false;
    sinceHop_ = 0;
    lastPeak_ = peak_;
    peak_ = 0.0f;
    computeFrame();
    return true;
}

void OnsetEnvelope::computeFrame()
{
    if (!plan_) {
        frame_.fill(0.0f);
        energy_.fill(0.0f);
        return;
    }
    for (int i = 0; i < kWindow; ++i)
        fftIn_[i] = ring_[(ringPos_ + i) % kWindow] * window_[i];
    fftwf_execute(static_cast<fftwf_plan>(plan_));
    auto* out = static_cast<fftwf_complex*>(fftOut_);
    std::swap(logMag_, prevLogMag_);
    std::swap(mag_, prevMag_);
    for (int k = 0; k < bandEdges_.back(); ++k) {
        const float mag = std::sqrt(out[k][0] * out[k][0] + out[k][1] * out[k][1]);
        mag_[k] = mag;
        logMag_[k] = std::log1p(kCompression * mag);
    }
    for (int b = 0; b < kBands; ++b) {
        float sum = 0.0f;
        float rise = 0.0f;
        const int lo = std::max(bandEdges_[b], 1);
        const int hi = bandEdges_[b + 1];
        for (int k = lo; k < hi; ++k) {
            // Compare with the loudest neighbour of the previous frame so that vibrato and
            // glides in tonal music do not read as onsets.
            const float prev = std::max({prevLogMag_[k - 1], prevLogMag_[k], prevLogMag_[k + 1]});
            sum += std::max(0.0f, logMag_[k] - prev);
            rise += std::max(0.0f, mag_[k] - prevMag_[k]);
        }
        frame_[b] = sum / static_cast<float>(std::max(1, hi - lo));
        energy_[b] = rise;
    }
}

} // namespace pulsivar::beatdetect
