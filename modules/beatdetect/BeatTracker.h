// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Locks a beat phase onto the onset signal for a given period and predicts the coming beats,
// so that beats are announced on time rather than after the analysis delay.

#include <vector>

namespace pulsivar::beatdetect {

class BeatTracker {
public:
    explicit BeatTracker(double frameRate = 100.0);

    // One rectified onset value a frame; frameTime is the stream time (seconds) the frame stands for.
    void addFrame(float onset, double frameTime, double periodFrames);
    // The predicted time of the next beat after `after` (seconds), or a negative value when unknown.
    double nextBeatAfter(double after) const;

private:
    void estimatePhase(double periodFrames);

    double frameRate_;
    std::vector<float> history_;
    int historyPos_ = 0;
    long long frames_ = 0;
    double lastFrameTime_ = 0.0;
    double anchorTime_ = -1.0;   // time of a recent beat
    double periodSeconds_ = 0.0;
};

} // namespace pulsivar::beatdetect
