// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A user-created sound: a looping buffer of 16-bit frames that the capture callback fills.
#include <atomic>
#include <cstdint>
#include <memory>

namespace pulsivar::audioinput {

struct RecordingSound {
    RecordingSound(std::int32_t ownerSystem, std::uint32_t frameCount, int channelCount, int rate)
        : owner(ownerSystem), frames(frameCount), channels(channelCount), sampleRate(rate),
          bytes(frameCount * frameBytes()), data(new std::uint8_t[bytes]())
    {
    }

    std::uint32_t frameBytes() const { return static_cast<std::uint32_t>(channels) * 2u; }
    std::uint32_t positionFrames() const
    {
        return writeByte.load(std::memory_order_acquire) / frameBytes();
    }

    // Called from the audio thread only: the one writer of data and writeByte.
    void write(const std::uint8_t *source, std::uint32_t length);
    // Called before the audio thread starts or after it has stopped.
    void restart(bool loop);

    const std::int32_t owner;
    const std::uint32_t frames;
    const int channels;
    const int sampleRate;
    const std::uint32_t bytes;
    const std::unique_ptr<std::uint8_t[]> data;
    // The SDL device recording into this sound, or 0.
    std::atomic<std::uint32_t> device{0};
    // Published with release order after the bytes before it are written, so a reader that
    // loads it with acquire order sees those bytes.
    std::atomic<std::uint32_t> writeByte{0};
    // Every frame written since the restart, laps included; published like writeByte.
    std::atomic<std::uint64_t> framesWritten{0};
    std::atomic<bool> filled{false}; // a recording without loop reached the end
    bool looping = true;
};

} // namespace pulsivar::audioinput
