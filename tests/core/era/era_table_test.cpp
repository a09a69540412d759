#include "core/era/era_table.h"

#include <gtest/gtest.h>
#include <vector>

namespace kalvo {
namespace {

std::vector<Serial> builtInStarts() {
    std::vector<Serial> starts;
    for (const auto& era : builtInEras()) starts.push_back(era.start);
    return starts;
}

// Every serial of the table is the serial of the Western date it stands for, and the
// rows run strictly from the newest to the oldest.
TEST(BuiltInTable, SerialsAgreeWithTheDateCore) {
    const auto eras = builtInEras();
    ASSERT_EQ(eras.size(), 41u);
    for (size_t i = 0; i < eras.size(); ++i) {
        SCOPED_TRACE(eras[i].name);
        const Ymd& d = eras[i].firstDay;
        const auto strict = makeDate(d.year, d.month, d.day);
        ASSERT_TRUE(strict.has_value());
        EXPECT_EQ(*strict, eras[i].start);
        if (i > 0) EXPECT_LT(eras[i].start, eras[i - 1].start);
        EXPECT_NE(std::string_view(eras[i].name), kEndMark);
    }
    const auto& end = builtInEndRow();
    EXPECT_EQ(std::string_view(end.name), "#");
    EXPECT_EQ(std::string_view(end.reading), "#");
    EXPECT_EQ(makeDate(1593, 1, 10), end.start);
    EXPECT_LT(end.start, eras.back().start);
}

TEST(BuiltInTable, NewestIsReiwaOldestIsKeicho) {
    const auto eras = builtInEras();
    EXPECT_EQ(std::string_view(eras[0].name), "令和");
    EXPECT_EQ(std::string_view(eras[0].reading), "れいわ");
    EXPECT_EQ(eras[0].start, 43586);
    EXPECT_EQ(std::string_view(eras[1].name), "平成");
    EXPECT_EQ(eras[1].start, 32516);
    EXPECT_EQ(std::string_view(eras[40].name), "慶長");
    EXPECT_EQ(std::string_view(eras[40].reading), "けいちょう");
}

struct LookupCase {
    Ymd date;
    const char* name;  // nullptr: no era
    const char* yearText;
};

TEST(EraLookup, ChangeDaysBelongToTheNewEra) {
    const LookupCase cases[] = {
        {{2019, 4, 30}, "平成", "31"},
        {{2019, 5, 1}, "令和", "元"},
        {{2026, 12, 7}, "令和", "8"},
        {{2030, 6, 1}, "令和", "12"},
        {{9999, 12, 31}, "令和", "7981"},
        {{1989, 1, 7}, "昭和", "64"},
        {{1989, 1, 8}, "平成", "元"},
        {{1990, 1, 1}, "平成", "2"},
        {{1926, 12, 24}, "大正", "15"},
        {{1926, 12, 25}, "昭和", "元"},
        {{1868, 10, 22}, "慶応", "4"},
        {{1868, 10, 23}, "明治", "元"},
        {{1596, 12, 16}, "慶長", "元"},
        {{1596, 12, 15}, nullptr, ""},
        {{1593, 1, 10}, nullptr, ""},
        {{100, 1, 1}, nullptr, ""},
        // the era year turns on 1 January
        {{2019, 12, 31}, "令和", "元"},
        {{2020, 1, 1}, "令和", "2"},
        {{1596, 12, 31}, "慶長", "元"},
        {{1597, 1, 1}, "慶長", "2"},
    };
    const auto starts = builtInStarts();
    const auto eras = builtInEras();
    for (const auto& c : cases) {
        const Serial date = fromYmd(c.date.year, c.date.month, c.date.day);
        SCOPED_TRACE(toText(date));
        const int row = findEra(starts, date);
        if (!c.name) {
            EXPECT_EQ(row, 42);
            continue;
        }
        ASSERT_GE(row, 1);
        ASSERT_LE(row, 41);
        EXPECT_EQ(std::string_view(eras[row - 1].name), c.name);
        EXPECT_EQ(eraYearText(row, eraYearOf(date, starts[row - 1]), eras[row - 1].name), c.yearText);
    }
}

TEST(EraLookup, EmptyTableFindsRowZero) {
    EXPECT_EQ(findEra({}, fromYmd(2000, 1, 1)), 0);
    const std::vector<Serial> one{fromYmd(2000, 1, 1)};
    EXPECT_EQ(findEra(one, fromYmd(2000, 1, 1)), 1);
    EXPECT_EQ(findEra(one, fromYmd(1999, 12, 31)), 2);
}

TEST(EraYearText, FirstYearDigitsAndNoEra) {
    EXPECT_EQ(eraYearText(3, 1, "明治"), "元");
    EXPECT_EQ(eraYearText(3, 2, "明治"), "2");
    EXPECT_EQ(eraYearText(3, 45, "明治"), "45");
    EXPECT_EQ(eraYearText(0, 5, ""), "");
    EXPECT_EQ(eraYearText(7, 1, "(なし)"), "");
    EXPECT_EQ(eraYearText(7, 14, "(なし)"), "");
}

}  // namespace
}  // namespace kalvo
