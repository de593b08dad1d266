// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Turns a 44.1 kHz sample stream into band-wise spectral-flux onset strengths at 100 frames a second.

#include <array>
#include <cstdint>
#include <vector>

namespace pulsivar::beatdetect {

class OnsetEnvelope {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kHop = 441;          // 100 frames a second: 10 ms per frame
    static constexpr int kWindow = 1024;
    static constexpr int kBands = 3;          // low (kick, bass), mid (snare, chords), high (hats)
    using Frame = std::array<float, kBands>;

    OnsetEnvelope();
    ~OnsetEnvelope();
    OnsetEnvelope(const OnsetEnvelope&) = delete;
    OnsetEnvelope& operator=(const OnsetEnvelope&) = delete;

    bool valid() const { return plan_ != nullptr; }

    // Adds one sample scaled to -1..1; returns true when a new frame is ready in frame().
    bool addSample(float sample);
    const Frame& frame() const { return frame_; }
    // The same bands' rise of linear magnitude: loud attacks (kick, snare) outweigh soft ones.
    const Frame& energyFrame() const { return energy_; }
    // Peak absolute input of the last frame, for silence detection.
    float framePeak() const { return lastPeak_; }

private:
    void computeFrame();

    std::vector<float> ring_;
    int ringPos_ = 0;
    int sinceHop_ = 0;
    float peak_ = 0.0f;
    float lastPeak_ = 0.0f;
    std::vector<float> window_;
    float* fftIn_ = nullptr;
    void* fftOut_ = nullptr;
    void* plan_ = nullptr;
    std::vector<float> logMag_;
    std::vector<float> prevLogMag_;
    std::vector<float> mag_;
    std::vector<float> prevMag_;
    std::array<int, kBands + 1> bandEdges_{};
    Frame frame_{};
    Frame energy_{};
};

} // namespace pulsivar::beatdetect
