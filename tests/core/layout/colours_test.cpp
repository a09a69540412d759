#include "core/layout/colours.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

// The named colours keep the values the window has always used, as decimal colour values
// (red in the low byte), so that a slip in a name's red, green and blue shows here.
TEST(Colours, NamesStandForTheWindowsColourValues) {
    struct Case {
        const char* name;
        ColorValue colour;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"black", kBlack, 0},
        {"red", kRed, 255},
        {"yellow", kYellow, 65535},
        {"pale yellow", kPaleYellow, 8454143},
        {"dark blue", kDarkBlue, 8388608},
        {"grey", kGrey, 8421504},
        {"blue", kBlue, 16711680},
        {"cyan", kCyan, 16776960},
        {"pale aqua", kPaleAqua, 16777088},
        {"pale cyan", kPaleCyan, 16777152},
        {"the program's background", kProgramBack, 16777152},
        {"white", kWhite, 16777215},
        {"system window", kSystemWindow, 0x80000005u},
        {"system menu text", kSystemMenuText, 0x80000007u},
        {"system window text", kSystemWindowText, 0x80000008u},
        {"system button face", kSystemButtonFace, 0x8000000Fu},
    };
    for (const Case& c : cases) EXPECT_EQ(c.colour, c.value) << c.name;
}

TEST(Colours, BgrPutsRedLowAndBlueHigh) {
    static_assert(bgr(0x12, 0x34, 0x56) == 0x563412u);
    EXPECT_EQ(bgr(1, 0, 0), 1u);
    EXPECT_EQ(bgr(0, 1, 0), 0x100u);
    EXPECT_EQ(bgr(0, 0, 1), 0x10000u);
    EXPECT_EQ(systemColor(15) & 0xFFu, 15u);
    EXPECT_NE(systemColor(0) & kSystemColor, 0u);
}

}  // namespace
}  // namespace kalvo
