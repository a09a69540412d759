#include "core/calendar/span.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

struct SpanCase {
    Ymd early, late;
    bool includeStart;
    Span expected;
};

TEST(Span, WorkedRowsInBothOrders) {
    const SpanCase cases[] = {
        {{2003, 1, 20}, {2003, 3, 10}, false, {49, 0, 1, 18}},
        {{2002, 12, 20}, {2003, 1, 10}, false, {21, 0, 0, 21}},
        {{1970, 5, 15}, {2003, 5, 14}, false, {12052, 32, 11, 29}},
        {{2003, 1, 1}, {2003, 12, 31}, false, {364, 0, 11, 30}},
        {{2003, 1, 1}, {2003, 12, 31}, true, {365, 1, 0, 0}},
        {{2000, 1, 31}, {2000, 3, 5}, false, {34, 0, 1, 3}},
        {{2003, 3, 1}, {2003, 3, 1}, false, {0, 0, 0, 0}},
        {{2003, 3, 1}, {2003, 3, 1}, true, {1, 0, 0, 1}},
        // The reference day rolls past the later date: 0 days, never negative.
        {{2000, 1, 31}, {2000, 3, 1}, false, {30, 0, 1, 0}},
        {{2000, 1, 31}, {2000, 3, 2}, false, {31, 0, 1, 0}},
    };
    for (const auto& c : cases) {
        const Serial a = fromYmd(c.early.year, c.early.month, c.early.day);
        const Serial b = fromYmd(c.late.year, c.late.month, c.late.day);
        SCOPED_TRACE(toText(a) + " .. " + toText(b) + (c.includeStart ? " +start" : ""));
        EXPECT_EQ(computeSpan(a, b, c.includeStart), c.expected);
        EXPECT_EQ(computeSpan(b, a, c.includeStart), c.expected);
    }
}

TEST(Span, IncludingStartDayAddsExactlyOneDay) {
    for (long s = -1000; s < 1000; s += 37) {
        const Serial a = 36000 + s;
        const Serial b = 36500;
        EXPECT_EQ(computeSpan(a, b, true).total, computeSpan(a, b, false).total + 1);
    }
}

// As the later date moves forward one day at a time, the age (years, months, days read
// as one number) never goes back, whatever day of month the earlier date has.
TEST(Span, AgeNeverDecreasesAsLaterDateMovesForward) {
    const Ymd starts[] = {{2000, 1, 31}, {2003, 1, 31}, {2003, 1, 30},  {2003, 1, 29},
                          {2004, 3, 31}, {2003, 5, 31}, {1999, 12, 31}, {2000, 2, 29}};
    for (const Ymd& st : starts) {
        for (bool include : {false, true}) {
            const Serial early = fromYmd(st.year, st.month, st.day);
            long previous = -1;
            for (int i = 0; i < 800; ++i) {
                const Span s = computeSpan(early, early + i, include);
                ASSERT_GE(s.days, 0);
                ASSERT_LT(s.days, 31);
                ASSERT_GE(s.months, 0);
                ASSERT_LT(s.months, 12);
                const long key = s.years * 10000L + s.months * 100L + s.days;
                ASSERT_GE(key, previous) << toText(early) << " to " << toText(early + i);
                previous = key;
            }
        }
    }
}

TEST(Span, StartDayBeforeTheFirstRepresentableDate) {
    const Span s = computeSpan(kMinSerial, kMinSerial, true);
    EXPECT_EQ(s, (Span{1, 0, 0, 1}));
    const Span all = computeSpan(kMinSerial, kMaxSerial, true);
    EXPECT_EQ(all.total, kMaxSerial - kMinSerial + 1);
    EXPECT_EQ(all.years, 9900);
}

}  // namespace
}  // namespace kalvo
