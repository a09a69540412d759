// The typed date arithmetic of the 何の日？ field on any text: a text taken as arithmetic
// moves a date to a day inside 0100-01-01..9999-12-31 or is refused, never anything else;
// days and weeks move by exactly the amount, months and years keep the day or cut it back
// to the month's end, and N営業日 lands on a business day N business days away.
#include "support.h"

#include "core/holidays/date_expression.h"

#include <cstdint>

namespace {

using namespace kalvo::holidays;
using std::chrono::year;

const BusinessDays& businessDays() {
    static const HolidayCalendar calendar([](int) { return EquinoxDays{20, 23}; });
    static const BusinessDays days(calendar);
    return days;
}

void check(std::string_view text) {
    const auto e = parseDateExpression(text);
    if (!e) return;
    for (const auto from : {year{2019} / 4 / 26, year{2024} / 1 / 31, year{100} / 1 / 1, year{9999} / 12 / 31}) {
        const auto to = applyDateExpression(from, *e, businessDays());
        if (!to) continue;
        FUZZ_CHECK(to->ok() && dayOf(*to) >= kFirstDay && dayOf(*to) <= kLastDay);
        const long long moved = dayOf(*to) - dayOf(from);
        switch (e->unit) {
            case ExpressionUnit::Days: FUZZ_CHECK(moved == e->amount); break;
            case ExpressionUnit::Weeks: FUZZ_CHECK(moved == 7 * e->amount); break;
            case ExpressionUnit::Months:
            case ExpressionUnit::Years: FUZZ_CHECK(to->day() <= from.day()); break;
            case ExpressionUnit::BusinessDays: {
                if (e->amount == 0) break;
                const auto& days = businessDays();
                FUZZ_CHECK(days.isBusinessDay(*to, BusinessRule::Business));
                // Back from a date: the days after the result up to the date, the date too.
                const long long expected =
                    e->amount > 0 ? e->amount : -e->amount - 1 + days.isBusinessDay(from, BusinessRule::Business);
                FUZZ_CHECK(days.count(from, *to, false, BusinessRule::Business) == expected);
                break;
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kalvo::fuzz::checkBothReadings(data, size, [](std::string_view text) { check(text); });
}
