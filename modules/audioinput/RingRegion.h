// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Splits a byte range of a looping buffer into the part up to the end and the part from the start.
#include <cstdint>
#include <optional>

namespace pulsivar::audioinput {

struct RingRegion {
    std::uint32_t offset1 = 0; // where the first part starts
    std::uint32_t length1 = 0; // bytes from offset1 towards the end of the buffer
    std::uint32_t length2 = 0; // bytes continuing from the start of the buffer
};

// No region when the offset lies outside the buffer or the range is longer than the buffer,
// since a longer range would hand out the same bytes twice.
constexpr std::optional<RingRegion> splitRing(std::uint32_t bufferBytes, std::uint32_t offset,
                                              std::uint32_t length)
{
    if (bufferBytes == 0 || offset >= bufferBytes || length > bufferBytes)
        return std::nullopt;
    const std::uint32_t untilEnd = bufferBytes - offset;
    if (length <= untilEnd)
        return RingRegion{offset, length, 0};
    return RingRegion{offset, untilEnd, length - untilEnd};
}

// Advances a position in a looping buffer by count units.
constexpr std::uint32_t ringAdvance(std::uint32_t size, std::uint32_t position, std::uint32_t count)
{
    return size == 0 ? 0 : static_cast<std::uint32_t>((std::uint64_t{position} + count) % size);
}

} // namespace pulsivar::audioinput
