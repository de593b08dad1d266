// SPDX-License-Identifier: GPL-2.0-or-later
#include "RecordingSound.h"

#include "RingRegion.h"

#include <algorithm>
#include <cstring>

namespace pulsivar::audioinput {

void RecordingSound::write(const std::uint8_t *source, std::uint32_t length)
{
    if (filled.load(std::memory_order_relaxed))
        return;
    std::uint32_t position = writeByte.load(std::memory_order_relaxed);
    const std::uint64_t total = framesWritten.load(std::memory_order_relaxed) + length / frameBytes();
    while (length > 0) {
        const std::uint32_t chunk = std::min(length, bytes - position);
        std::memcpy(data.get() + position, source, chunk);
        source += chunk;
        length -= chunk;
        position = ringAdvance(bytes, position, chunk);
        if (position == 0 && !looping) {
            // A one-shot recording keeps its end position so the caller sees it completed.
            writeByte.store(bytes - frameBytes(), std::memory_order_release);
            framesWritten.store(frames, std::memory_order_release);
            filled.store(true, std::memory_order_release);
            return;
        }
    }
    writeByte.store(position, std::memory_order_release);
    framesWritten.store(total, std::memory_order_release);
}

void RecordingSound::restart(bool loop)
{
    looping = loop;
    std::memset(data.get(), 0, bytes);
    filled.store(false, std::memory_order_relaxed);
    writeByte.store(0, std::memory_order_release);
    framesWritten.store(0, std::memory_order_release);
}

} // namespace pulsivar::audioinput
