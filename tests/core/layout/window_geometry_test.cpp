#include "core/layout/window_geometry.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

TEST(WindowGeometry, StoredPlaceIsKeptOnlyWhenTheWindowMeetsAScreen) {
    const std::vector<PixelRect> screens = {{0, 0, 1024, 768}, {1024, 0, 800, 600}};
    struct Case {
        std::optional<float> top, left;
        std::optional<long long> x, y;
    };
    const Case cases[] = {
        {1200, 1500, 100, 80},
        {0, 1024 * 15 + 300, 1044, 0},  // on the second screen
        {-1500, -4500, -300, -100},     // partly visible
        {-150000, -150000, std::nullopt, std::nullopt},
        {9000 * 15, 0, std::nullopt, std::nullopt},  // below both screens
        {3e38f, 0, std::nullopt, std::nullopt},
        {std::nullopt, 0, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto place = placeWindow(c.top, c.left, 480, 240, screens);
        ASSERT_EQ(place.has_value(), c.x.has_value());
        if (place) {
            EXPECT_EQ(place->x, *c.x);
            EXPECT_EQ(place->y, *c.y);
        }
    }
}

}  // namespace
}  // namespace kalvo
