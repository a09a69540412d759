// Date texts in every form, under the built-in table and the two court tables shipped
// with the program, and the era text of every day read back as that day.
#include "core/era/date_text.h"
#include "core/era/era_file.h"

#include <gtest/gtest.h>
#include <fstream>
#include <iterator>

namespace kalvo {
namespace {

std::vector<EraRow> shipped(const char* name) {
    std::ifstream in(std::string(KALVO_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EraFileResult table = readEraBytes(bytes);
    EXPECT_TRUE(table.ok()) << name;
    return std::move(table.rows);
}

// NoReiwa: an old court file that ends at 平成; Twice: a table that names one era twice.
enum Table { BuiltIn, North, South, NoReiwa, Twice };

std::vector<EraRow> rowsOf(Table t) {
    if (t == BuiltIn) return builtInEraRows();
    if (t == Twice)
        return {{"", "甲", fromYmd(2000, 1, 1)}, {"", "乙", fromYmd(1990, 1, 1)}, {"", "甲", fromYmd(1980, 1, 1)}};
    auto rows = shipped(t == South ? "KalvoS.dat" : "KalvoN.dat");
    if (t == NoReiwa) rows.erase(rows.begin());
    return rows;
}

const DateEras& erasOf(Table t) {
    static const DateEras eras[] = {DateEras(rowsOf(BuiltIn)), DateEras(rowsOf(North)), DateEras(rowsOf(South)),
                                    DateEras(rowsOf(NoReiwa)), DateEras(rowsOf(Twice))};
    return eras[t];
}

struct Case {
    const char* text;
    Ymd date;
};

void expectDates(Table t, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        const auto date = parseDateText(c.text, erasOf(t));
        ASSERT_TRUE(date) << c.text << " table " << t;
        EXPECT_EQ(toYmd(*date), c.date) << c.text << " table " << t;
    }
}

void expectNoDates(Table t, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        const auto date = parseDateText(text, erasOf(t));
        EXPECT_FALSE(date) << text << " table " << t << ": " << toText(*date);
    }
}

TEST(DateTextForms, WesternForms) {
    expectDates(BuiltIn, {{"2003年9月14日", {2003, 9, 14}},
                          {"２００３年９月１４日", {2003, 9, 14}},
                          {"2003 年 9 月 14 日", {2003, 9, 14}},
                          {"2003年\u30009月\u300014日", {2003, 9, 14}},
                          {"\u3000 2003/9/14\t\u3000", {2003, 9, 14}},
                          {"1990・4・1", {1990, 4, 1}},
                          {"１９９０・４・１", {1990, 4, 1}},
                          {"1990･4･1", {1990, 4, 1}},
                          {"1990・4/1", {1990, 4, 1}},  // "・" is what "/" becomes
                          {"2003－9－14", {2003, 9, 14}},
                          {"2003ー9ー14", {2003, 9, 14}},
                          {"2003．9．14", {2003, 9, 14}},
                          {"2003。9。14", {2003, 9, 14}},
                          {"9999年12月31日", {9999, 12, 31}}});
    // Two-digit years stay refused; so do 年月日 with a part missing and mixed separators.
    expectNoDates(BuiltIn, {"03/9/14", "99年12月31日", "2003年13月1日", "2003年9月14", "2003年9/14", "2003/9/14日",
                            "2003/9.14", "2003・9-14", "2003年9月14日日", "元年5月1日"});
}

TEST(DateTextForms, EraNamesAndLetters) {
    expectDates(BuiltIn, {{"平成15年9月14日", {2003, 9, 14}}, {"平成 15 年 9 月 14 日", {2003, 9, 14}},
                          {"令和元年5月1日", {2019, 5, 1}},   {"令和 元年 5月 1日", {2019, 5, 1}},
                          {"令和8年12月8日", {2026, 12, 8}},  {"平成01年1月8日", {1989, 1, 8}},
                          {"平成15/9/14", {2003, 9, 14}},     {"慶長元年12月16日", {1596, 12, 16}},
                          {"H15/9/14", {2003, 9, 14}},        {"h15.9.14", {2003, 9, 14}},
                          {"Ｒ８．１２．８", {2026, 12, 8}},  {"ｒ8-12-8", {2026, 12, 8}},
                          {"H15年9月14日", {2003, 9, 14}},    {"H元年1月8日", {1989, 1, 8}},
                          {"R元.5.1", {2019, 5, 1}},          {"H 15/9/14", {2003, 9, 14}},
                          {"M45/7/29", {1912, 7, 29}},        {"T1/7/30", {1912, 7, 30}},
                          {"S64/1/7", {1989, 1, 7}},          {"令和7981年12月31日", {9999, 12, 31}},
                          {"令和100年1月1日", {2118, 1, 1}}});
    // Past the era's end or the last year, year 0 or below, 元 misused, unknown letters
    // and names (延元 is a Southern era), readings, nonsense around a date.
    expectNoDates(BuiltIn, {"令和7982年1月1日", "平成32年1月1日", "令和0年5月1日", "平成00年1月8日", "平成-1年1月8日",
                            "平成元15年1月8日", "平成元年元月8日", "平成15年2月29日", "平成", "平成15年", "H15",
                            "A15/9/14", "Q1/1/1", "HH15/9/14", "Heisei15/9/14", "へいせい15年9月14日",
                            "x平成15年9月14日", "平成15年9月14日x", "延元3年5月1日"});
    // Names that end in 元.
    expectDates(North, {{"天元元年11月29日", {978, 11, 29}}, {"天元2年1月1日", {979, 1, 1}}});
    expectNoDates(North, {"天元年11月29日", "(なし)1年1月1日"});
}

TEST(DateTextForms, WeekdayInBracketsMustBeTheDays) {
    expectDates(BuiltIn, {{"2003/9/14(日)", {2003, 9, 14}},
                          {"2003/9/14（日）", {2003, 9, 14}},
                          {"2003/9/14(日曜)", {2003, 9, 14}},
                          {"2003/9/14(日曜日)", {2003, 9, 14}},
                          {"2003/9/14 (日)", {2003, 9, 14}},
                          {"2003/9/14\u3000（ 日 ）\u3000", {2003, 9, 14}},
                          {"2003/9/14(日）", {2003, 9, 14}},
                          {"平成15年9月14日(日)", {2003, 9, 14}},
                          {"H15.9.14(日)", {2003, 9, 14}},
                          {"2003/9/15(月)", {2003, 9, 15}},
                          {"2003/9/20(土)", {2003, 9, 20}}});
    expectNoDates(BuiltIn,
                  {"2003/9/14(月)", "2003/9/14(月曜日)", "2003/9/14(日曜月)", "2003/9/14(曜)", "2003/9/14()",
                   "2003/9/14(Sun)", "2003/9/14(日", "2003/9/14日)", "2003/9/14(日)(日)", "2003/9/14 日曜日", "(日)"});
}

// First day, last day and the day after of each era since 明治, and of court eras.
TEST(DateTextForms, EraBoundaries) {
    expectDates(BuiltIn, {{"慶応4年10月22日", {1868, 10, 22}},
                          {"明治元年10月23日", {1868, 10, 23}},
                          {"明治45年7月29日", {1912, 7, 29}},
                          {"大正元年7月30日", {1912, 7, 30}},
                          {"大正15年12月24日", {1926, 12, 24}},
                          {"昭和元年12月25日", {1926, 12, 25}},
                          {"昭和64年1月7日", {1989, 1, 7}},
                          {"平成元年1月8日", {1989, 1, 8}},
                          {"平成31年4月30日", {2019, 4, 30}},
                          {"令和元年5月1日", {2019, 5, 1}}});
    expectNoDates(BuiltIn, {"慶応4年10月23日", "明治元年10月22日", "明治45年7月30日", "大正元年7月29日",
                            "大正15年12月25日", "昭和元年12月24日", "昭和64年1月8日", "平成元年1月7日",
                            "平成31年5月1日", "令和元年4月30日", "慶長元年12月15日", "明治元年9月8日"});
    // The court tables' 明治 begins on its old-calendar change day; 寛永 on 1624/2/30,
    // which the file keeps as 3/1; 明徳 in 1390 in the Northern table, at the union of the
    // courts (1392) in the Southern one; 大化 in 645.
    expectDates(North, {{"明治元年9月8日", {1868, 9, 8}},
                        {"慶応4年9月7日", {1868, 9, 7}},
                        {"元和10年2月29日", {1624, 2, 29}},
                        {"寛永元年3月1日", {1624, 3, 1}},
                        {"明徳3年10月4日", {1392, 10, 4}},
                        {"大化元年6月19日", {645, 6, 19}}});
    expectNoDates(North, {"明治元年9月7日", "慶応4年9月8日", "元和10年3月1日", "寛永元年2月29日", "元中9年10月4日",
                          "延元元年2月29日", "大化元年6月18日"});
    expectDates(South, {{"明治元年10月23日", {1868, 10, 23}},
                        {"明徳元年10月5日", {1392, 10, 5}},
                        {"元中9年10月4日", {1392, 10, 4}},
                        {"延元元年2月29日", {1336, 2, 29}}});
    expectNoDates(South, {"明徳元年10月4日", "元中9年10月5日"});
}

// The table in force decides for the names it has; the built-in eras since 明治 stand in
// for names it lacks; a name that two rows of one table give different days is no date.
TEST(DateTextForms, WhichTableNamesTheEra) {
    expectDates(NoReiwa, {{"令和8年12月8日", {2026, 12, 8}},
                          {"R8/12/8", {2026, 12, 8}},
                          {"平成38年12月8日", {2026, 12, 8}},  // as that table's window shows the day
                          {"平成31年5月1日", {2019, 5, 1}}});
    expectNoDates(NoReiwa, {"令和元年4月30日"});
    expectDates(North, {{"慶長元年10月27日", {1596, 10, 27}}, {"文禄5年10月26日", {1596, 10, 26}}});
    expectNoDates(North, {"平成31年5月1日", "慶長元年10月26日"});
    expectDates(Twice, {{"平成15年1月1日", {2003, 1, 1}},  // not in that table: the built-in 平成
                        {"甲15年1月1日", {2014, 1, 1}},
                        {"甲12年1月1日", {2011, 1, 1}},
                        {"乙1年1月1日", {1990, 1, 1}}});
    expectNoDates(Twice, {"慶応3年1月1日", "甲5年1月1日", "乙11年1月1日"});  // 甲5年: 2004 and 1984 alike
}

// Every day the window shows with an era year, written as the window shows it (and by
// its letter), reads back as that day under the same table; so do its y/m/d text and
// every text the y/m/d parser reads (calendar/date_serial_test.cpp has them).
TEST(DateTextForms, EveryShownEraDateReadsBack) {
    constexpr std::pair<const char*, const char*> kLetters[] = {
        {"明治", "M"}, {"大正", "T"}, {"昭和", "S"}, {"平成", "H"}, {"令和", "R"}};
    for (const Table t : {BuiltIn, North, South}) {
        SCOPED_TRACE(t);
        const std::vector<EraRow> rows = rowsOf(t);
        const DateEras& eras = erasOf(t);
        int read = 0;
        for (long s = kMinSerial; s <= fromYmd(2100, 12, 31); s += (s < fromYmd(1550, 1, 1) ? 5 : 1)) {
            const std::string text = eraDateText(rows, s);
            ASSERT_EQ(parseDateText(toText(s), eras), Serial(s)) << toText(s);
            if (text.empty()) continue;
            ++read;
            ASSERT_EQ(parseDateText(text, eras), Serial(s)) << text;
            for (const auto& [name, letter] : kLetters) {
                if (!text.starts_with(name)) continue;
                const Ymd ymd = toYmd(s);
                const size_t nameSize = std::string_view(name).size();
                const std::string year = text.substr(nameSize, text.find("年") - nameSize);
                const std::string slash =
                    letter + year + "/" + std::to_string(ymd.month) + "/" + std::to_string(ymd.day);
                ASSERT_EQ(parseDateText(slash, eras), Serial(s)) << slash;
            }
        }
        EXPECT_GT(read, 100000);
    }
}

TEST(DateTextForms, LinesThatMayBeDatesUnderSomeTable) {
    // 明治元年9月8日 is a date under the court tables only, 延元 a Southern era; 平成99年 is
    // past 平成 in every shipped table but has the shape of a date.
    for (const char* text : {"2003/9/14", "2003年9月14日(日)", "1990・4・1", "平成15年9月14日", "H15/9/14",
                             "明治元年9月8日", "延元3年5月1日", "平成99年12月31日"})
        EXPECT_TRUE(mayBeDateText(text)) << text;
    for (const char* text : {"2003/9/14(月)", "2003/9/31", "平成15年2月30日", "平成0年1月1日", "平成15年13月1日",
                             "メモ2003年9月14日", "' 2003年9月14日", "(なし)1年1月1日", "X15/9/14", ""})
        EXPECT_FALSE(mayBeDateText(text)) << text;
}

}  // namespace
}  // namespace kalvo
