#include "core/holidays/business_days.h"

#include "holiday_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace kalvo::holidays {
namespace {

constexpr auto kBusiness = BusinessRule::Business;
constexpr auto kCivil = BusinessRule::CivilService;

// Counted by hand on a calendar: from, to, 起算日含む, 営業日, civil-service days. 4/27..5/6
// 2019 were all closed, 4/26 a Friday; 12/29..12/31 2025 and 1/2 2026 are business days but
// the offices are closed; 2019 had 261 weekdays, 17 of them holidays, and 1/2, 1/3, 12/30 and
// 12/31 on weekdays.
TEST(BusinessDays, CountsLikeTheSpanInBothOrders) {
    const char* const cases[] = {"2019-04-26 2019-05-07 0 1 1", "2019-04-26 2019-05-07 1 2 2",
                                 "2025-12-26 2026-01-05 0 5 1", "2018-12-31 2019-12-31 0 244 240",
                                 "2019-01-04 2019-01-04 1 1 1"};
    const HolidayCalendar calendar(testing::publishedEquinoxes);
    const BusinessDays days(calendar);
    for (const std::string_view c : cases) {
        SCOPED_TRACE(c);
        const auto a = testing::parseIso(c.substr(0, 10)), b = testing::parseIso(c.substr(11, 10));
        int start = 0;
        long business = 0, civil = 0;
        std::sscanf(c.data() + 22, "%d %ld %ld", &start, &business, &civil);
        EXPECT_EQ(days.count(a, b, start, kBusiness), business);
        EXPECT_EQ(days.count(b, a, start, kBusiness), business);
        EXPECT_EQ(days.count(a, b, start, kCivil), civil);
    }
}

// The running totals against walking the days one by one, over spans of up to two
// centuries that start before the law and run past the announced equinoxes; and the n-th
// business day after or before a date lands where that count says, on a business day.
TEST(BusinessDays, AgreeWithWalkingTheDays) {
    const HolidayCalendar calendar([](int y) { return EquinoxDays{20, y % 3 == 0 ? 22u : 23u}; });
    const BusinessDays days(calendar);
    std::mt19937 random(30);
    std::uniform_int_distribution<Day> day(dayOf(1900, 1, 1), dayOf(2100, 12, 31));
    std::uniform_int_distribution<long> step(-400, 400);
    for (int i = 0; i < 200; ++i) {
        const Day a = day(random), b = day(random);
        const Day lo = std::min(a, b), hi = std::max(a, b);
        for (const auto rule : {kBusiness, kCivil}) {
            long walked = 0;
            for (Day d = lo + 1; d <= hi; ++d) walked += days.isBusinessDay(dateOf(d), rule);
            SCOPED_TRACE(testing::iso(dateOf(lo)) + " .. " + testing::iso(dateOf(hi)));
            EXPECT_EQ(days.count(dateOf(a), dateOf(b), false, rule), walked);
            const long n = step(random);
            const auto to = days.shift(dateOf(a), n, rule);
            ASSERT_TRUE(to.has_value());
            if (n == 0) continue;
            EXPECT_TRUE(days.isBusinessDay(*to, rule));
            // Before a date counts back from the day before it, that day itself included.
            EXPECT_EQ(days.count(dateOf(n < 0 ? a - 1 : a), *to, n < 0, rule), n < 0 ? -n : n);
            EXPECT_EQ(dayOf(*to) > a, n > 0);
        }
    }
}

}  // namespace
}  // namespace kalvo::holidays
