// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The audio thread's side of the beat sound: clicks waiting for their frame, the click that
// sounds, and rendering them into the output buffer at exact frame offsets.
#include <array>
#include <cstdint>
#include <vector>

namespace pulsivar {

// A decoded click: mono float samples at the output rate.
struct ClickSound {
    std::vector<float> samples;
};

class ClickMixer {
public:
    // A click that is cut off fades out over this many frames instead of stopping dead, which
    // would itself be heard as a click.
    static constexpr int cutFadeFrames = 64;
    static constexpr int maxWaiting = 16;
    static constexpr uint64_t noSequence = UINT64_MAX;

    explicit ClickMixer(int channels);

    // Starts sound at startFrame of the stream (at once when that frame has passed). The
    // sequence number tells the owner when the sound is no longer referenced. A beat's click can
    // be withdrawn until it starts. False when too many clicks already wait.
    bool schedule(const ClickSound *sound, int64_t startFrame, uint64_t sequence, bool beat = false);
    // Fades out the click that sounds and forgets the waiting ones.
    void stop();
    // Forgets the beats' clicks that would start at or after a frame (a restart, a stop).
    void withdrawBeatsFrom(int64_t frame);

    // Writes frames [firstFrame, firstFrame + frames) of the stream, interleaved, overwriting out.
    void render(float *out, int frames, int64_t firstFrame);

    // The smallest sequence number still waiting or sounding; noSequence when none.
    uint64_t oldestSequenceInUse() const;
    bool isSilent() const;

private:
    struct Voice {
        const ClickSound *sound = nullptr;
        std::size_t position = 0;
        uint64_t sequence = noSequence;
    };
    struct Waiting {
        const ClickSound *sound;
        int64_t startFrame;
        uint64_t sequence;
        bool beat;
    };

    void startNext();
    void cutCurrent();

    int channels_;
    Voice current_;
    Voice fading_;
    int fadeLeft_ = 0;
    std::array<Waiting, maxWaiting> waiting_{};  // sorted by start frame
    int waitingCount_ = 0;
};

} // namespace pulsivar
