// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Window geometry is stored and compared in twips; Qt works in logical pixels.
#include <cstdint>
#include <limits>

namespace pulsivar {

inline constexpr int twipsPerPixel = 15;

namespace twips_detail {
inline constexpr int saturate(int64_t value)
{
    return value > std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
           : value < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                     : int(value);
}
} // namespace twips_detail

// Stored values come from a file anyone can edit, so neither way may overflow.
inline constexpr int pixelsToTwips(int pixels) { return twips_detail::saturate(int64_t(pixels) * twipsPerPixel); }
// Nearest pixel, halves away from zero so a stored size never shrinks on a round trip.
inline constexpr int twipsToPixels(int twips)
{
    const int64_t wide = twips;
    return int(wide >= 0 ? (wide + twipsPerPixel / 2) / twipsPerPixel : -((-wide + twipsPerPixel / 2) / twipsPerPixel));
}

} // namespace pulsivar
