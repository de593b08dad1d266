#pragma once
// What plays the beat clicks: the real audio output, or a recording fake in tests.
#include <QString>

namespace pulsivar {

class BeatSoundEngine {
public:
    virtual ~BeatSoundEngine() = default;

    // Starts the wave file at path so that it sounds at dueMonotonicSeconds (clock().monotonicSeconds()
    // time) plus the engine's fixed latency; a sound that starts cuts off the one still playing.
    // Returns at once; false when the file cannot be decoded or there is no output.
    virtual bool play(const QString &path, double dueMonotonicSeconds) = 0;
    // Silences the sound playing and drops the ones not started yet.
    virtual void stop() = 0;
    // Opens the output ahead of the first click, so that click is already on time.
    virtual void prepare() {}
};

} // namespace pulsivar
