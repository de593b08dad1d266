#pragma once
// Window geometry is stored and compared in twips; Qt works in logical pixels.
namespace pulsivar {

inline constexpr int twipsPerPixel = 15;

inline constexpr int pixelsToTwips(int pixels) { return pixels * twipsPerPixel; }
// Nearest pixel, halves away from zero so a stored size never shrinks on a round trip.
inline constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips + twipsPerPixel / 2) / twipsPerPixel
                      : -((-twips + twipsPerPixel / 2) / twipsPerPixel);
}

} // namespace pulsivar
