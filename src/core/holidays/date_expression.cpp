#include "core/holidays/date_expression.h"

#include <array>

namespace kalvo::holidays {

namespace {

// More digits than this cannot stay inside the representable years in any unit.
constexpr size_t kMaxDigits = 9;

bool take(std::string_view text, size_t& pos, std::string_view what) {
    if (text.substr(pos, what.size()) != what) return false;
    pos += what.size();
    return true;
}

void skipBlanks(std::string_view text, size_t& pos) {
    while (pos < text.size()) {
        if (text[pos] == ' ' || text[pos] == '\t') {
            ++pos;
        } else if (!take(text, pos, "\u3000")) {
            return;
        }
    }
}

// 1 for plus, -1 for minus, 0 when there is no sign.
int takeSign(std::string_view text, size_t& pos) {
    for (std::string_view plus : {"+", "＋"}) {
        if (take(text, pos, plus)) return 1;
    }
    for (std::string_view minus : {"-", "−", "－", "‐", "ー", "ｰ"}) {
        if (take(text, pos, minus)) return -1;
    }
    return 0;
}

// ASCII 0-9 or full-width ０-９ (EF BC 90 .. EF BC 99); -1 when there is none.
int takeDigit(std::string_view text, size_t& pos) {
    if (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') return text[pos++] - '0';
    if (pos + 3 <= text.size() && text.substr(pos, 2) == "\xEF\xBC") {
        const auto third = static_cast<unsigned char>(text[pos + 2]);
        if (third >= 0x90 && third <= 0x99) {
            pos += 3;
            return third - 0x90;
        }
    }
    return -1;
}

struct UnitWord {
    std::string_view word;
    ExpressionUnit unit;
};

// Longer words first where one begins another (日間 before 日).
constexpr std::array kUnits = {
    UnitWord{"営業日", ExpressionUnit::BusinessDays},
    UnitWord{"日間", ExpressionUnit::Days},
    UnitWord{"日", ExpressionUnit::Days},
    UnitWord{"週間", ExpressionUnit::Weeks},
    UnitWord{"週", ExpressionUnit::Weeks},
    UnitWord{"年間", ExpressionUnit::Years},
    UnitWord{"年", ExpressionUnit::Years},
};
constexpr std::array<std::string_view, 6> kMonthCounters = {"ヶ", "ヵ", "カ", "ケ", "か", "箇"};

std::optional<ExpressionUnit> takeUnit(std::string_view text, size_t& pos) {
    for (const auto& u : kUnits) {
        if (take(text, pos, u.word)) return u.unit;
    }
    for (auto counter : kMonthCounters) {
        size_t p = pos;
        if (take(text, p, counter) && take(text, p, "月")) {
            take(text, p, "間");
            pos = p;
            return ExpressionUnit::Months;
        }
    }
    return std::nullopt;
}

bool inRange(std::chrono::year_month_day d) {
    return d.ok() && d.year() >= std::chrono::year{kFirstYear} && d.year() <= std::chrono::year{kLastYear};
}

}  // namespace

std::optional<DateExpression> parseDateExpression(std::string_view text) {
    size_t pos = 0;
    skipBlanks(text, pos);
    const int sign = takeSign(text, pos);
    if (sign == 0) return std::nullopt;
    skipBlanks(text, pos);
    long long amount = 0;
    size_t digits = 0;
    for (int d; (d = takeDigit(text, pos)) >= 0; ++digits) {
        if (digits < kMaxDigits) amount = amount * 10 + d;
    }
    if (digits == 0) return std::nullopt;
    // Too long to matter: still arithmetic, and refused when applied.
    if (digits > kMaxDigits) amount = 10'000'000'000LL;
    skipBlanks(text, pos);
    ExpressionUnit unit = ExpressionUnit::Days;
    if (pos < text.size()) {
        const auto u = takeUnit(text, pos);
        if (!u) return std::nullopt;
        unit = *u;
        skipBlanks(text, pos);
    }
    if (pos != text.size()) return std::nullopt;
    return DateExpression{sign * amount, unit};
}

std::optional<std::chrono::year_month_day> applyDateExpression(std::chrono::year_month_day from,
                                                               const DateExpression& e,
                                                               const BusinessDays& businessDays) {
    using namespace std::chrono;
    if (!inRange(from)) return std::nullopt;
    // Beyond this no unit stays inside the years (9900 years are 3.6 million days).
    if (e.amount > 4'000'000 || e.amount < -4'000'000) return std::nullopt;
    const Day start = dayOf(from);
    switch (e.unit) {
        case ExpressionUnit::Days:
        case ExpressionUnit::Weeks: {
            const long long day = start + e.amount * (e.unit == ExpressionUnit::Weeks ? 7 : 1);
            if (day < kFirstDay || day > kLastDay) return std::nullopt;
            return dateOf(static_cast<Day>(day));
        }
        case ExpressionUnit::Months:
        case ExpressionUnit::Years: {
            const long long n = e.amount * (e.unit == ExpressionUnit::Years ? 12 : 1);
            if (n > 12 * 10'000 || n < -12 * 10'000) return std::nullopt;
            const year_month ym = from.year() / from.month() + months{static_cast<int>(n)};
            const auto last = (ym / std::chrono::last).day();
            const year_month_day to = ym / std::min(from.day(), last);
            return inRange(to) ? std::optional(to) : std::nullopt;
        }
        case ExpressionUnit::BusinessDays:
            return businessDays.shift(from, static_cast<long>(e.amount), BusinessRule::Business);
    }
    return std::nullopt;
}

}  // namespace kalvo::holidays
