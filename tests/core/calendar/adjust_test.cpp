#include "core/calendar/adjust.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

struct AdjustCase {
    Ymd from;
    int button;
    std::optional<Ymd> to;  // nullopt: refused, the date stays
};

TEST(AdjustButtons, RangeEndsAndMonthEnds) {
    const AdjustCase cases[] = {
        {{100, 1, 1}, 3, std::nullopt},         {{100, 1, 6}, 4, Ymd{100, 1, 1}},
        {{100, 1, 31}, 13, std::nullopt},       {{9999, 12, 31}, 1, std::nullopt},
        {{9999, 12, 30}, 1, Ymd{9999, 12, 31}}, {{9999, 11, 30}, 11, Ymd{9999, 12, 30}},
        {{9999, 12, 1}, 11, std::nullopt},      {{2003, 1, 31}, 11, Ymd{2003, 2, 28}},
        {{2003, 2, 28}, 13, Ymd{2003, 1, 28}},  {{2000, 2, 29}, 21, Ymd{2001, 2, 28}},
        {{2003, 9, 14}, 27, Ymd{2053, 9, 14}},  {{2003, 9, 14}, 28, Ymd{1953, 9, 14}},
        {{2003, 9, 14}, 25, Ymd{2013, 9, 14}},  {{2003, 9, 14}, 26, Ymd{1993, 9, 14}},
        {{2003, 9, 14}, 22, Ymd{2008, 9, 14}},  {{2003, 9, 14}, 24, Ymd{1998, 9, 14}},
        {{2003, 9, 14}, 23, Ymd{2002, 9, 14}},  {{2003, 9, 14}, 12, Ymd{2004, 2, 14}},
        {{2003, 9, 14}, 14, Ymd{2003, 4, 14}},  {{2003, 9, 14}, 2, Ymd{2003, 9, 19}},
        {{2003, 9, 14}, 4, Ymd{2003, 9, 9}},    {{149, 6, 1}, 28, std::nullopt},
        {{150, 6, 1}, 28, Ymd{100, 6, 1}},      {{9949, 12, 31}, 27, Ymd{9999, 12, 31}},
        {{9950, 1, 1}, 27, std::nullopt},       {{100, 5, 31}, 14, std::nullopt},
        {{100, 12, 31}, 23, std::nullopt},      {{101, 1, 1}, 23, Ymd{100, 1, 1}},
    };
    for (const auto& c : cases) {
        const Serial from = fromYmd(c.from.year, c.from.month, c.from.day);
        SCOPED_TRACE(testing::Message() << toText(from) << " button " << c.button);
        const auto result = applyAdjustButton(from, c.button);
        ASSERT_EQ(result.has_value(), c.to.has_value());
        if (c.to) EXPECT_EQ(toYmd(*result), *c.to);
    }
}

// The position test passes a step whose result is in range, refuses one whose result is
// not, with the few month-end exceptions near the lower end caught by the addition.
TEST(AdjustButtons, PositionTestAgreesWithTheRangeNearBothEnds) {
    const int buttons[] = {1, 2, 3, 4, 11, 12, 13, 14, 21, 22, 23, 24, 25, 26, 27, 28};
    for (long s : {kMinSerial, kMinSerial + 40L, kMinSerial + 400L, kMaxSerial - 400L, kMaxSerial - 40L, kMaxSerial}) {
        for (long k = 0; k < 40; ++k) {
            const Serial from = static_cast<Serial>(s + (s < 0 ? k : -k));
            for (int b : buttons) {
                const auto result = applyAdjustButton(from, b);
                if (result) EXPECT_TRUE(inRange(*result));
            }
        }
    }
    EXPECT_TRUE(positionAccepted(fromYmd(100, 1, 31), decodeAdjustButton(13)));
}

TEST(AdjustButtons, UnknownStepCodeMovesNothing) {
    const Serial d = fromYmd(2003, 9, 14);
    EXPECT_EQ(applyAdjustButton(d, 9), d);
    EXPECT_EQ(applyAdjustButton(d, 0), d);
}

}  // namespace
}  // namespace kalvo
