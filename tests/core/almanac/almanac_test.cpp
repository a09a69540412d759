// The almanac's rules on the dates where they can go wrong. Every expected value is a
// published one: the National Astronomical Observatory of Japan's 暦要項 (new moons and solar
// terms to the minute, JST), the 旧暦 of the Japanese almanacs, the calendar reform of
// 明治5年12月2日 / 1873-01-01, and the calendar makers' recommendation for 2033 (閏11月).
#include "core/almanac/almanac.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvo {
namespace {

AlmanacDay on(int y, int m, int d) { return almanacOf(almanacDayOf(y, m, d)); }

TEST(Almanac, LunarDatesWhereMonthsAreCounted) {
    struct Row {
        int y, m, d;
        LunarDate lunar;
        const char* why;
    };
    const Row rows[] = {
        {2023, 3, 22, {2023, 2, true, 1}, "閏2月 begins"},
        {2023, 4, 20, {2023, 3, false, 1}, "the month after a leap month"},
        {2025, 7, 25, {2025, 6, true, 1}, "閏6月 begins"},
        {2025, 7, 24, {2025, 6, false, 30}, "the day before it"},
        // New moon 2023-05-20 00:53 JST: the month begins on the 20th, not the 19th (UTC).
        {2023, 5, 19, {2023, 3, false, 30}, "new moon just after midnight"},
        {2023, 5, 20, {2023, 4, false, 1}, "new moon just after midnight"},
        {2026, 2, 17, {2026, 1, false, 1}, "旧正月"},
        {2026, 12, 8, {2026, 10, false, 30}, "the 30th day of a long month"},
        {2024, 1, 1, {2023, 11, false, 20}, "a Western New Year inside the 11th month"},
        // 秋分 2033-09-23 01:52 and the new moon 22:40 fall on one JST day.
        {2033, 9, 23, {2033, 9, false, 1}, "a 中気 on the first day of a month"},
        {1872, 12, 31, {1872, 12, false, 2}, "the last day of the old calendar"},
        {1873, 1, 1, {1872, 12, false, 3}, "the first day of the Gregorian calendar"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.y) + "-" + std::to_string(r.m) + "-" + std::to_string(r.d) + " " + r.why);
        const AlmanacDay a = on(r.y, r.m, r.d);
        ASSERT_TRUE(a.hasLunar);
        EXPECT_EQ(a.lunar.year, r.lunar.year);
        EXPECT_EQ(a.lunar.month, r.lunar.month);
        EXPECT_EQ(a.lunar.leap, r.lunar.leap);
        EXPECT_EQ(a.lunar.day, r.lunar.day);
    }
}

TEST(Almanac, The2033ProblemFollowsTheRecommendationAndIsMarkedProvisional) {
    const AlmanacDay leap = on(2033, 12, 22);
    EXPECT_TRUE(leap.lunar.leap);
    EXPECT_EQ(leap.lunar.month, 11);
    EXPECT_EQ(leap.lunar.day, 1);
    EXPECT_EQ(on(2034, 1, 20).lunar.month, 12);
    EXPECT_EQ(on(2034, 2, 19).lunar.month, 1);
    // From the first month the rules cannot number (no 中気, 2033-08-25) to the last one
    // (2034-02-19, no 中気 either) every date depends on the choice; outside it none does.
    for (int day = almanacDayOf(2033, 6, 1); day < almanacDayOf(2034, 6, 1); ++day) {
        const bool inside = day >= almanacDayOf(2033, 8, 25) && day < almanacDayOf(2034, 3, 20);
        EXPECT_EQ(almanacOf(day).provisional, inside) << day;
    }
    EXPECT_FALSE(on(2023, 3, 22).provisional);
}

TEST(Almanac, RangeEndsAndEstimatedDates) {
    EXPECT_FALSE(on(1843, 12, 31).hasLunar);
    EXPECT_EQ(on(1843, 12, 31).rokuyo, -1);
    EXPECT_TRUE(on(1844, 1, 1).hasLunar);
    EXPECT_TRUE(on(2200, 12, 31).hasLunar);
    EXPECT_FALSE(on(2201, 1, 1).hasLunar);
    EXPECT_TRUE(on(1844, 1, 1).estimated);
    EXPECT_TRUE(on(1872, 12, 31).estimated);
    EXPECT_FALSE(on(1873, 1, 1).estimated);
}

TEST(Almanac, KanshiAcrossNewYearAndRokuyo) {
    // 2024-01-01 was a 甲子 day; the year's 干支 turns on 1 January, 乙巳 (2025) to 丙午 (2026).
    EXPECT_EQ(kanshiName(on(2024, 1, 1).dayKanshi), "甲子");
    EXPECT_EQ(kanshiName(on(2023, 12, 31).dayKanshi), "癸亥");
    EXPECT_EQ(kanshiName(on(2025, 12, 31).yearKanshi), "乙巳");
    EXPECT_EQ(kanshiName(on(2026, 1, 1).yearKanshi), "丙午");
    EXPECT_EQ(kanshiName(on(1984, 1, 1).yearKanshi), "甲子");
    EXPECT_EQ(rokuyoName(on(2026, 12, 8).rokuyo), "先負");
    EXPECT_EQ(rokuyoName(on(2026, 2, 17).rokuyo), "先勝");  // every 1月1日
    EXPECT_EQ(rokuyoName(on(2025, 7, 25).rokuyo), "赤口");  // 閏6月1日 counts as 6月
}

TEST(Almanac, SolarTermsOnTheirJstDays) {
    const AlmanacDay dec8 = on(2026, 12, 8);
    EXPECT_EQ(solarTermName(dec8.term), "大雪");
    EXPECT_EQ(dec8.termStartDay, almanacDayOf(2026, 12, 7));
    EXPECT_EQ(dec8.termToday, -1);
    EXPECT_EQ(solarTermName(on(2026, 12, 7).termToday), "大雪");
    // 冬至 2025 at 00:03 JST on the 22nd (15:03 UT on the 21st).
    EXPECT_EQ(on(2025, 12, 21).termToday, -1);
    EXPECT_EQ(solarTermName(on(2025, 12, 22).termToday), "冬至");
    EXPECT_EQ(solarTermName(on(2026, 1, 1).term), "冬至");

    // The lists, to the minute of the 暦要項: 春分 2026-03-20 23:46, new moon 2023-03-22 02:23.
    bool found = false;
    for (const AlmanacEvent& e : solarTermsOf(2026, 2026)) {
        if (e.term != 0) continue;
        found = true;
        EXPECT_EQ(jstText(e.unixSeconds + 30).substr(0, 16), "2026-03-20 23:46");
    }
    EXPECT_TRUE(found);
    const auto moons = newMoonsOf(2023, 2023);
    ASSERT_EQ(moons.size(), 12u);
    EXPECT_EQ(jstText(moons[2].unixSeconds + 30).substr(0, 16), "2023-03-22 02:23");
}

}  // namespace
}  // namespace kalvo
