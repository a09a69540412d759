// Typed date arithmetic of the 何の日？ field: "+100", "-30日", "+2週", "+3ヶ月", "+1年",
// "+10営業日", in half- or full-width characters. A text that is not such an expression is
// not arithmetic, and the field treats it as it always has.
#pragma once

#include "core/holidays/business_days.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace kalvo::holidays {

enum class ExpressionUnit { Days, Weeks, Months, Years, BusinessDays };

struct DateExpression {
    long long amount = 0;  // signed
    ExpressionUnit unit = ExpressionUnit::Days;
    bool operator==(const DateExpression&) const = default;
};

// UTF-8 text -> the expression, or nullopt when the text is not one.
//   blanks sign blanks digits blanks [unit] blanks
// blanks: ASCII space, tab, U+3000. The sign is required (a bare number stays a date or a
// name): + ＋ for plus; - − － ‐ ー ｰ for minus, the last two because a Japanese input
// method in kana mode types ー for the minus key. Digits ASCII or full-width. Units: none
// or 日/日間 (days), 週/週間, ヶ月 ヵ月 カ月 ケ月 か月 箇月 (each also with 間), 年/年間,
// 営業日.
std::optional<DateExpression> parseDateExpression(std::string_view text);

// The date moved by the expression: months and years cut the day back at a month's end
// (1/31 + 1ヶ月 = 2/28 or 2/29), N営業日 is the N-th 営業日 after or before. nullopt when
// the result would lie outside 0100-01-01..9999-12-31.
std::optional<std::chrono::year_month_day> applyDateExpression(std::chrono::year_month_day from,
                                                               const DateExpression& expression,
                                                               const BusinessDays& businessDays);

}  // namespace kalvo::holidays
