// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/SoundEngineMixer.h"

#include <algorithm>

namespace pulsivar {

ClickMixer::ClickMixer(int channels) : channels_(std::max(1, channels)) {}

bool ClickMixer::schedule(const ClickSound *sound, int64_t startFrame, uint64_t sequence, bool beat)
{
    if (!sound || waitingCount_ == maxWaiting)
        return false;
    int at = waitingCount_;
    while (at > 0 && waiting_[at - 1].startFrame > startFrame) {
        waiting_[at] = waiting_[at - 1];
        --at;
    }
    waiting_[at] = {sound, startFrame, sequence, beat};
    ++waitingCount_;
    return true;
}

void ClickMixer::cutCurrent()
{
    if (current_.sound && current_.position < current_.sound->samples.size()) {
        fading_ = current_;
        fadeLeft_ = cutFadeFrames;
    }
    current_ = {};
}

void ClickMixer::stop()
{
    waitingCount_ = 0;
    cutCurrent();
}

void ClickMixer::withdrawBeatsFrom(int64_t frame)
{
    int kept = 0;
    for (int i = 0; i < waitingCount_; ++i) {
        if (!waiting_[i].beat || waiting_[i].startFrame < frame)
            waiting_[kept++] = waiting_[i];
    }
    waitingCount_ = kept;
}

void ClickMixer::startNext()
{
    cutCurrent();
    current_ = {waiting_[0].sound, 0, waiting_[0].sequence};
    std::copy(waiting_.begin() + 1, waiting_.begin() + waitingCount_, waiting_.begin());
    --waitingCount_;
}

void ClickMixer::render(float *out, int frames, int64_t firstFrame)
{
    for (int i = 0; i < frames; ++i) {
        const int64_t frame = firstFrame + i;
        // A click whose frame has already gone by (its beat was handed over too late) starts
        // now, whole, rather than with its attack cut off.
        while (waitingCount_ > 0 && waiting_[0].startFrame <= frame)
            startNext();
        float value = 0.0f;
        if (current_.sound) {
            value = current_.sound->samples[current_.position++];
            if (current_.position >= current_.sound->samples.size())
                current_ = {};
        }
        if (fadeLeft_ > 0) {
            if (fading_.position < fading_.sound->samples.size())
                value += fading_.sound->samples[fading_.position++] * float(fadeLeft_) / float(cutFadeFrames + 1);
            if (--fadeLeft_ == 0)
                fading_ = {};
        }
        std::fill_n(out + std::size_t(i) * channels_, channels_, value);
    }
}

uint64_t ClickMixer::oldestSequenceInUse() const
{
    uint64_t oldest = std::min(current_.sequence, fadeLeft_ > 0 ? fading_.sequence : noSequence);
    for (int i = 0; i < waitingCount_; ++i)
        oldest = std::min(oldest, waiting_[i].sequence);
    return oldest;
}

bool ClickMixer::isSilent() const
{
    return !current_.sound && fadeLeft_ == 0 && waitingCount_ == 0;
}

} // namespace pulsivar
