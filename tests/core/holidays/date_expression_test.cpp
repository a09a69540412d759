#include "core/holidays/date_expression.h"

#include "holiday_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace kalvo::holidays {
namespace {

using U = ExpressionUnit;

TEST(DateExpression, ReadsTheTypedForms) {
    const std::pair<std::vector<const char*>, DateExpression> cases[] = {
        {{"+100", "＋１００", " +100日 ", "+100日間"}, {100, U::Days}},
        {{"-30日", "ー30日", "－３０日", "−30日", "‐30日", "ｰ30"}, {-30, U::Days}},
        {{"+2週", "＋２週間"}, {2, U::Weeks}},
        {{"+3ヶ月", "+3か月", "+3カ月", "+3ヵ月", "+3ケ月", "+3箇月", "+3ヶ月間"}, {3, U::Months}},
        {{"−1年", "-1年間"}, {-1, U::Years}},
        {{"+10営業日", "\u3000＋ １０\t営業日  "}, {10, U::BusinessDays}},
        {{"－５営業日", "ー5営業日"}, {-5, U::BusinessDays}}};
    for (const auto& [texts, expected] : cases) {
        for (const char* text : texts) {
            SCOPED_TRACE(text);
            EXPECT_EQ(parseDateExpression(text), expected);
        }
    }
}

TEST(DateExpression, OtherTextIsNotArithmetic) {
    for (const char* text : {"", "100", "+", "+日", "+3月", "+3ヶ", "++1", "+-1", "+1.5日", "〜3日", "+1日後",
                             "2019/5/1", "+1 2", "誕生日+1"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseDateExpression(text));
    }
}

// From, expression, result ("-": refused).
TEST(DateExpression, MovesTheDateAsTheButtonsDo) {
    const std::string_view table =
        "2024-01-31 +1ヶ月 2024-02-29;2023-01-31 +1ヶ月 2023-02-28;2024-03-31 -1ヶ月 2024-02-29;"
        "2024-02-29 +1年 2025-02-28;2026-12-07 +2週 2026-12-21;2026-12-07 -30日 2026-11-07;"
        "2019-04-26 +10営業日 2019-05-20;2019-05-07 -5営業日 2019-04-22;9999-12-31 +1 -;0100-01-01 -1日 -;"
        "9999-12-01 +1ヶ月 -;2000-01-01 -1901年 -;2000-01-01 +99999999999 -;9999-12-30 +2営業日 -;"
        "0100-01-04 -5営業日 -;";
    const HolidayCalendar calendar(testing::publishedEquinoxes);
    const BusinessDays days(calendar);
    for (size_t at = 0, end; (end = table.find(';', at)) != table.npos; at = end + 1) {
        const std::string_view c = table.substr(at, end - at);
        SCOPED_TRACE(c);
        const auto e = parseDateExpression(c.substr(11, c.rfind(' ') - 11));
        ASSERT_TRUE(e);
        const auto to = applyDateExpression(testing::parseIso(c.substr(0, 10)), *e, days);
        EXPECT_EQ(to.has_value(), !c.ends_with('-'));
        if (to) EXPECT_EQ(testing::iso(*to), c.substr(c.rfind(' ') + 1));
    }
}

}  // namespace
}  // namespace kalvo::holidays
