#include "core/holidays/holidays.h"

#include "holiday_test_support.h"

#include <gtest/gtest.h>

namespace kalvo::holidays {
namespace {

using std::chrono::year;

// The days that implementations get wrong, as the law and the special laws make them;
// a date alone: not a holiday. 2/11 1973 was a Sunday before 振替休日 existed, 5/4 1987 a Monday
// after a Sunday 祝日; on 5/4 2008 a Sunday, 5/5 was a 祝日 itself.
TEST(Holidays, DaysTheLawMade) {
    const std::string_view table =
        "1948-05-03;1948-09-23 秋分の日;1949-01-01 元日;1973-02-12;1973-04-30 振替休日;"
        "1987-05-04 振替休日;1988-05-04 国民の休日;1989-02-24 昭和天皇の大喪の礼;1989-04-29 みどりの日;"
        "1999-01-15 成人の日;2000-01-15;2000-01-10 成人の日;2002-07-20 海の日;2003-07-20;"
        "2003-07-21 海の日;2007-04-30 振替休日;2008-05-06 振替休日;2009-09-22 国民の休日;"
        "2015-09-22 国民の休日;1990-11-12 即位礼正殿の儀;1993-06-09 皇太子徳仁親王の結婚の儀;2019-02-23;2019-04-30 "
        "国民の休日;2019-05-01 天皇の即位の日;"
        "2019-05-02 国民の休日;2019-05-06 振替休日;2019-10-22 即位礼正殿の儀;2019-12-23;"
        "2020-02-24 振替休日;2020-07-20;2020-07-23 海の日;2020-07-24 スポーツの日;"
        "2020-08-10 山の日;2020-08-11;2020-10-12;2021-07-22 海の日;2021-07-23 スポーツの日;"
        "2021-08-08 山の日;2021-08-09 振替休日;2021-10-11;2027-03-21 春分の日;"
        "2028-03-20 春分の日;";
    const HolidayCalendar calendar(testing::publishedEquinoxes);
    for (size_t at = 0, end; (end = table.find(';', at)) != table.npos; at = end + 1) {
        const std::string_view c = table.substr(at, end - at);
        SCOPED_TRACE(c);
        const auto date = testing::parseIso(c.substr(0, 10));
        const auto name = c.size() > 11 ? c.substr(11) : std::string_view();
        const auto h = calendar.holidayOn(date);
        ASSERT_EQ(h.has_value(), !name.empty());
        if (!h) continue;
        EXPECT_EQ(h->name, name);
        EXPECT_EQ(kindName(h->kind), h->name == "振替休日" || h->name == "国民の休日" ? h->name : "祝日");
        EXPECT_EQ(h->predicted, date.year() > year{2027});
    }
    ASSERT_FALSE(calendar.holidaysOf(1948).empty());
    EXPECT_EQ(calendar.holidaysOf(1948).front().date, year{1948} / 9 / 23);
    EXPECT_TRUE(calendar.holidaysOf(1947).empty());
}

// Every year, whatever the equinox days: one entry a day, in order, each found by its
// date; only the equinoxes after 2027 and the 休日 they make are predictions.
TEST(Holidays, YearsAreOrderedAndAgreeWithTheDayLookup) {
    for (const unsigned september : {22u, 23u}) {
        const HolidayCalendar calendar([=](int) { return EquinoxDays{20, september}; });
        for (int y = 1948; y <= 2200; ++y) {
            const auto list = calendar.holidaysOf(y);
            for (size_t i = 0; i < list.size(); ++i) {
                const auto& h = list[i];
                SCOPED_TRACE(testing::iso(h.date));
                if (i > 0) EXPECT_LT(list[i - 1].date, h.date);
                EXPECT_EQ(calendar.holidayOn(h.date)->name, h.name);
                const bool nearEquinox = h.date.month() == std::chrono::March || h.name == "秋分の日" ||
                                         (h.date.month() == std::chrono::September && h.kind != HolidayKind::National);
                EXPECT_EQ(h.predicted, y > 2027 && nearEquinox);
            }
        }
    }
}

}  // namespace
}  // namespace kalvo::holidays
