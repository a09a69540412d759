#include "core/layout/window_geometry.h"

#include <algorithm>
#include <cmath>

namespace kalvo {

std::optional<PixelRect> placeWindow(std::optional<float> topTwips, std::optional<float> leftTwips, long long width,
                                     long long height, const std::vector<PixelRect>& screens) {
    if (!topTwips || !leftTwips) return std::nullopt;
    constexpr double kFar = 1.0e9;  // pixels; no screen reaches that far
    const double y = std::nearbyint(static_cast<double>(*topTwips) / kTwipsPerPixel);
    const double x = std::nearbyint(static_cast<double>(*leftTwips) / kTwipsPerPixel);
    if (!(std::fabs(x) < kFar && std::fabs(y) < kFar)) return std::nullopt;
    const auto size = [](long long v) { return static_cast<double>(v > 0 ? std::min(v, 1000000000LL) : 1LL); };
    const double w = size(width), h = size(height);
    // Compared as doubles so that no sum can overflow, whatever the screens say.
    for (const PixelRect& s : screens) {
        const double sx = static_cast<double>(s.x), sy = static_cast<double>(s.y);
        const bool overlaps =
            x < sx + static_cast<double>(s.width) && sx < x + w && y < sy + static_cast<double>(s.height) && sy < y + h;
        if (overlaps)
            return PixelRect{static_cast<long long>(x), static_cast<long long>(y), static_cast<long long>(w),
                             static_cast<long long>(h)};
    }
    return std::nullopt;
}

}  // namespace kalvo
