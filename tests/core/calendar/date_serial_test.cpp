#include "core/calendar/date_serial.h"
#include "core/era/date_text.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

struct SerialCase {
    int y, m, d;
    long serial;
    int weekday;
};

TEST(DateSerial, KnownSerialsAndWeekdays) {
    const SerialCase cases[] = {
        {1899, 12, 30, 0, 7},    {1899, 12, 29, -1, 6},  {1900, 1, 1, 2, 2},         {1997, 10, 16, 35719, 5},
        {2003, 9, 14, 37878, 1}, {2000, 1, 7, 36532, 6}, {100, 1, 1, -657434, 6},    {9999, 12, 31, 2958465, 6},
        {1989, 1, 8, 32516, 1},  {2019, 5, 1, 43586, 4}, {1596, 12, 16, -110682, 2}, {2000, 2, 29, 36585, 3},
        {1900, 2, 28, 60, 4},    {1900, 3, 1, 61, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(fromYmd(c.y, c.m, c.d), static_cast<Serial>(c.serial));
        EXPECT_EQ(toYmd(static_cast<Serial>(c.serial)), (Ymd{c.y, c.m, c.d}));
        EXPECT_EQ(weekday(static_cast<Serial>(c.serial)), c.weekday);
    }
}

TEST(DateSerial, RangeEnds) {
    EXPECT_TRUE(inRange(kMinSerial));
    EXPECT_TRUE(inRange(kMaxSerial));
    EXPECT_FALSE(inRange(kMinSerial - 1));
    EXPECT_FALSE(inRange(kMaxSerial + 1));
    EXPECT_EQ(toYmd(kMinSerial - 1), (Ymd{99, 12, 31}));
}

// A fraction belongs to its day: rounding goes down, also before 1899-12-30.
TEST(DateSerial, FractionsBelongToTheirDay) {
    const struct {
        Serial serial;
        Ymd date;
    } cases[] = {
        {0.5, {1899, 12, 30}},       {-0.5, {1899, 12, 29}},    {-1.0, {1899, 12, 29}},      {-0.0, {1899, 12, 30}},
        {35719.999, {1997, 10, 16}}, {-657433.75, {100, 1, 1}}, {2958465.5, {9999, 12, 31}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_EQ(toYmd(c.serial), c.date);
        EXPECT_EQ(yearOf(c.serial), c.date.year);
    }
}

TEST(DateSerial, YearOfIsTheYearOfEveryDay) {
    int bad = 0;
    for (long s = kMinSerial - 400; s <= kMaxSerial + 400; ++s)
        if (yearOf(static_cast<Serial>(s)) != toYmd(static_cast<Serial>(s)).year) ++bad;
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(yearOf(fromYmd(2019, 12, 31)), 2019);
    EXPECT_EQ(yearOf(fromYmd(2020, 1, 1)), 2020);
}

TEST(DateSerial, RollOverWhenBuilding) {
    EXPECT_EQ(toYmd(fromYmd(2003, 2, 30)), (Ymd{2003, 3, 2}));
    EXPECT_EQ(toYmd(fromYmd(2003, 0, 15)), (Ymd{2002, 12, 15}));
    EXPECT_EQ(toYmd(fromYmd(2003, 13, 1)), (Ymd{2004, 1, 1}));
    EXPECT_EQ(toYmd(fromYmd(2000, 1, 31 + 29 + 1)), (Ymd{2000, 3, 1}));
    EXPECT_EQ(toYmd(fromYmd(2003, 3, 0)), (Ymd{2003, 2, 28}));
}

TEST(DateSerial, MonthsAndYearsCutBackToMonthEnd) {
    const Serial jan31 = fromYmd(2003, 1, 31);
    ASSERT_TRUE(addMonths(jan31, 1));
    EXPECT_EQ(toYmd(*addMonths(jan31, 1)), (Ymd{2003, 2, 28}));
    EXPECT_EQ(toYmd(*addMonths(*addMonths(jan31, 1), -1)), (Ymd{2003, 1, 28}));
    EXPECT_EQ(toYmd(*addYears(fromYmd(2000, 2, 29), 1)), (Ymd{2001, 2, 28}));
    EXPECT_EQ(toYmd(*addYears(fromYmd(2000, 2, 29), 4)), (Ymd{2004, 2, 29}));
    EXPECT_EQ(toYmd(*addMonths(fromYmd(2003, 12, 15), 1)), (Ymd{2004, 1, 15}));
    EXPECT_EQ(toYmd(*addMonths(fromYmd(2004, 1, 15), -1)), (Ymd{2003, 12, 15}));
}

TEST(DateSerial, MonthsAndYearsFailOutsideRange) {
    EXPECT_FALSE(addMonths(fromYmd(100, 1, 31), -1));
    EXPECT_FALSE(addYears(fromYmd(9999, 6, 1), 1));
    EXPECT_FALSE(addMonths(fromYmd(9999, 12, 1), 1));
    EXPECT_TRUE(addMonths(fromYmd(9999, 11, 30), 1));
    EXPECT_TRUE(addYears(fromYmd(101, 1, 1), -1));
}

TEST(DateSerial, DiffDays) {
    EXPECT_EQ(diffDays(fromYmd(2003, 1, 20), fromYmd(2003, 3, 10)), 49);
    EXPECT_EQ(diffDays(fromYmd(2003, 3, 10), fromYmd(2003, 1, 20)), -49);
    EXPECT_EQ(diffDays(kMinSerial, kMaxSerial), 2958465 + 657434);
}

TEST(DateText, WritesWithoutPadding) {
    EXPECT_EQ(toText(fromYmd(1997, 10, 16)), "1997/10/16");
    EXPECT_EQ(toText(fromYmd(2003, 9, 14)), "2003/9/14");
    EXPECT_EQ(toText(kMinSerial), "0100/1/1");
    EXPECT_EQ(toText(kMaxSerial), "9999/12/31");
}

TEST(DateText, ParsesCalendarDatesOnly) {
    struct Case {
        const char* text;
        bool ok;
        Ymd ymd;
    };
    const Case cases[] = {
        {"2003/9/14", true, {2003, 9, 14}},
        {"2003/09/14", true, {2003, 9, 14}},
        {" 1923/9/1 ", true, {1923, 9, 1}},
        {"2003-9-14", true, {2003, 9, 14}},
        {"２００３／９／１４", true, {2003, 9, 14}},
        {"100/1/1", true, {100, 1, 1}},
        {"2000/2/29", true, {2000, 2, 29}},
        {"2003/2/30", false, {}},
        {"2003/13/1", false, {}},
        {"2003/0/1", false, {}},
        {"1900/2/29", false, {}},
        {"abc", false, {}},
        {"", false, {}},
        {"2003/9", false, {}},
        {"2003/9/14x", false, {}},
        {"2003/9-14", false, {}},
        {"99/12/31", false, {}},
        {"10000/1/1", false, {}},
        {"TODAY", false, {}},
        {"2003//14", false, {}},
        {"99999999999999999999/1/1", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseDate(c.text);
        EXPECT_EQ(parseDateText(c.text, DateEras()), parsed);  // the reader of every date form agrees
        ASSERT_EQ(parsed.has_value(), c.ok);
        if (c.ok) EXPECT_EQ(toYmd(*parsed), c.ymd);
    }
}

TEST(DateText, EveryWrittenTextReadsBack) {
    for (long s = kMinSerial; s <= kMaxSerial; s += 997) {
        const auto back = parseDate(toText(s));
        ASSERT_TRUE(back) << toText(s);
        EXPECT_EQ(*back, static_cast<Serial>(s));
    }
    EXPECT_EQ(*parseDate(toText(kMaxSerial)), static_cast<Serial>(kMaxSerial));
}

}  // namespace
}  // namespace kalvo
