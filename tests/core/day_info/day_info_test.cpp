// The almanac's equinoxes as the holidays take them, and the texts of a date. Expected values
// are published: 春分日 and 秋分日 as the government announced them, the 旧暦 of the Japanese
// almanacs (閏6月 of 2025 from 7/25), the holidays of 2019 as the law and its special law made them.
#include "core/day_info/day_info.h"
#include "core/day_info/almanac_equinoxes.h"

#include "../holidays/holiday_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kalvo {
namespace {

TEST(DayInfo, EquinoxDaysAreTheAnnouncedOnes) {
    using holidays::testing::kPublishedEquinoxes;
    for (size_t i = 0; i < std::size(kPublishedEquinoxes); i += 3) {
        const auto days = almanacEquinoxDays(kPublishedEquinoxes[i]);
        ASSERT_TRUE(days) << kPublishedEquinoxes[i];
        EXPECT_EQ(days->march, static_cast<unsigned>(kPublishedEquinoxes[i + 1])) << kPublishedEquinoxes[i];
        EXPECT_EQ(days->september, static_cast<unsigned>(kPublishedEquinoxes[i + 2])) << kPublishedEquinoxes[i];
    }
    // 1979 is the last year whose 秋分の日 fell on the 24th.
    EXPECT_EQ(almanacEquinoxDays(1979)->september, 24u);
    EXPECT_FALSE(almanacEquinoxDays(kAlmanacFirstYear - 1));
    EXPECT_FALSE(almanacEquinoxDays(kAlmanacLastYear + 1));
}

TEST(DayInfo, TextsOfADate) {
    const holidays::HolidayCalendar calendar(almanacEquinoxes());
    const auto rows = builtInEraRows();
    auto info = [&](int y, int m, int d) { return dayInfoOf(almanacDayOf(y, m, d), calendar, rows); };
    struct Row {
        int y, m, d;
        const char* holiday;  // holidayText, "" for none
        const char* lunar;    // lunarColumn; nullptr where no almanac has published it
    };
    const Row rows_[] = {
        {2019, 5, 1, "祝日 天皇の即位の日", "2019/3/27"},
        {2019, 4, 30, "国民の休日", "2019/3/26"},
        {2019, 5, 6, "振替休日", "2019/4/2"},
        {2025, 7, 25, "", "2025/閏6/1"},
        {2029, 3, 20, "祝日 春分の日（予測）", nullptr},
        {1843, 12, 31, "", ""},
    };
    for (const Row& r : rows_) {
        const DayInfo i = info(r.y, r.m, r.d);
        SCOPED_TRACE(isoDate(i.day));
        EXPECT_EQ(i.holiday ? holidayText(*i.holiday) : "", r.holiday);
        if (r.lunar) EXPECT_EQ(lunarColumn(i.almanac), r.lunar);
        std::string tsv;
        appendTsvLine(i, tsv);
        EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\t'), 8);
    }
    const std::string line = readableLine(info(2026, 12, 8));
    EXPECT_TRUE(line.starts_with("2026-12-08（火）  令和8年12月8日  旧暦 10月30日  先負  ")) << line;
    EXPECT_TRUE(line.ends_with("年の干支 丙午（西暦年による）  大雪 12/7 から")) << line;
    EXPECT_NE(readableLine(info(1850, 6, 1)).find("（推定）"), std::string::npos);
    EXPECT_NE(readableLine(info(2033, 12, 22)).find("旧暦 閏11月1日（暫定）"), std::string::npos);
}

}  // namespace
}  // namespace kalvo
