// Twips and pixels, and where a window goes for a position stored in twips. Pure: the
// window hands in the screens' rectangles and moves itself.
#pragma once

#include <optional>
#include <vector>

namespace kalvo {

// Twips (1/1440 inch) a logical pixel: every position and size of the window, the ones
// in the event file included, is counted in twips.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int twipsToPixels(double twips) { return static_cast<int>(twips / kTwipsPerPixel + 0.5); }

struct PixelRect {
    long long x = 0, y = 0, width = 0, height = 0;
};

// Where to put a window of the given size for a stored top/left in twips: the stored
// place, or nullopt when the window would lie wholly outside every screen (or the values
// are unusable), so it stays where the window system put it.
std::optional<PixelRect> placeWindow(std::optional<float> topTwips, std::optional<float> leftTwips, long long width,
                                     long long height, const std::vector<PixelRect>& screens);

}  // namespace kalvo
