#include "core/holidays/holidays.h"

#include "holiday_test_support.h"

#include <gtest/gtest.h>

namespace kalvo::holidays {
namespace {

using std::chrono::year_month_day;
using K = HolidayKind;

struct DayCase {
    int y;
    unsigned m, d;
    const char* name;  // nullptr: not a holiday
    K kind = K::National;
    bool predicted = false;
};

// The days that implementations get wrong, as the law and the special laws make them.
TEST(Holidays, DaysTheLawMade) {
    const DayCase cases[] = {
        {1948, 5, 3, nullptr},  // before the law came into force
        {1948, 9, 23, "秋分の日"},
        {1949, 1, 1, "元日"},
        {1973, 2, 12, nullptr},  // 2/11 a Sunday before 振替休日 existed
        {1973, 4, 30, "振替休日", K::Substitute},
        {1987, 5, 4, "振替休日", K::Substitute},
        {1988, 5, 4, "国民の休日", K::Citizens},
        {1989, 2, 24, "昭和天皇の大喪の礼"},
        {1989, 4, 29, "みどりの日"},
        {1999, 1, 15, "成人の日"},
        {2000, 1, 15, nullptr},
        {2000, 1, 10, "成人の日"},
        {2002, 7, 20, "海の日"},
        {2003, 7, 20, nullptr},
        {2003, 7, 21, "海の日"},
        {2007, 4, 30, "振替休日", K::Substitute},
        {2008, 5, 6, "振替休日", K::Substitute},  // 5/4 a Sunday, 5/5 a 祝日 itself
        {2009, 9, 22, "国民の休日", K::Citizens},
        {2015, 9, 22, "国民の休日", K::Citizens},
        {2019, 2, 23, nullptr},
        {2019, 4, 30, "国民の休日", K::Citizens},
        {2019, 5, 1, "天皇の即位の日"},
        {2019, 5, 2, "国民の休日", K::Citizens},
        {2019, 5, 6, "振替休日", K::Substitute},
        {2019, 10, 22, "即位礼正殿の儀"},
        {2019, 12, 23, nullptr},
        {2020, 2, 24, "振替休日", K::Substitute},
        {2020, 7, 20, nullptr},
        {2020, 7, 23, "海の日"},
        {2020, 7, 24, "スポーツの日"},
        {2020, 8, 10, "山の日"},
        {2020, 8, 11, nullptr},
        {2020, 10, 12, nullptr},
        {2021, 7, 22, "海の日"},
        {2021, 7, 23, "スポーツの日"},
        {2021, 8, 8, "山の日"},
        {2021, 8, 9, "振替休日", K::Substitute},
        {2021, 10, 11, nullptr},
        {2027, 3, 21, "春分の日"},
        {2028, 3, 20, "春分の日", K::National, true},
    };
    const HolidayCalendar calendar(testing::publishedEquinoxes);
    for (const auto& c : cases) {
        const year_month_day date{std::chrono::year{c.y}, std::chrono::month{c.m}, std::chrono::day{c.d}};
        SCOPED_TRACE(testing::iso(date));
        const auto h = calendar.holidayOn(date);
        ASSERT_EQ(h.has_value(), c.name != nullptr);
        if (!h) continue;
        EXPECT_EQ(h->name, c.name);
        EXPECT_EQ(h->kind, c.kind);
        EXPECT_EQ(h->predicted, c.predicted);
    }
}

TEST(Holidays, NothingBeforeTheFirstAutumnEquinoxOf1948) {
    const HolidayCalendar calendar(testing::publishedEquinoxes);
    EXPECT_TRUE(calendar.holidaysOf(1947).empty());
    ASSERT_FALSE(calendar.holidaysOf(1948).empty());
    EXPECT_EQ(calendar.holidaysOf(1948).front().date, std::chrono::year{1948} / 9 / 23);
}

// Every year, whatever the equinox days: one entry a day, in order, each found by its date,
// and no 休日 made from a day that is none.
TEST(Holidays, YearsAreOrderedAndAgreeWithTheDayLookup) {
    for (const unsigned september : {22u, 23u}) {
        const HolidayCalendar calendar([=](int) { return EquinoxDays{20, september}; });
        for (int y = 1948; y <= 2200; ++y) {
            const auto list = calendar.holidaysOf(y);
            for (size_t i = 0; i < list.size(); ++i) {
                SCOPED_TRACE(testing::iso(list[i].date));
                if (i > 0) EXPECT_LT(list[i - 1].date, list[i].date);
                EXPECT_EQ(calendar.holidayOn(list[i].date)->name, list[i].name);
                EXPECT_EQ(list[i].predicted, y > 2027 &&
                                                 (list[i].date.month() == std::chrono::March ||
                                                  list[i].date.month() == std::chrono::September) &&
                                                 list[i].name != "敬老の日");
            }
        }
    }
}

}  // namespace
}  // namespace kalvo::holidays
