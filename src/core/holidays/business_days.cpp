#include "core/holidays/business_days.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kalvo::holidays {

namespace {

// A Monday on or before 0100-01-01: weekdays are counted from it in whole weeks.
constexpr Day kWeekOrigin = kFirstDay - static_cast<Day>((weekdayOf(kFirstDay) + 6) % 7);
static_assert(weekdayOf(kWeekOrigin) == 1);

// Monday to Friday in [kWeekOrigin, day].
long weekdaysUpTo(Day day) {
    const long n = day - kWeekOrigin + 1;
    return n / 7 * 5 + std::min<long>(n % 7, 5);
}

bool isWeekend(Day day) { return weekdayOf(day) == 0 || weekdayOf(day) == 6; }

bool inYearEnd(std::chrono::year_month_day d) {
    const unsigned m = static_cast<unsigned>(d.month());
    const unsigned dd = static_cast<unsigned>(d.day());
    return (m == 12 && dd >= 29) || (m == 1 && dd <= 3);
}

constexpr size_t kRules = 2;
size_t index(BusinessRule rule) { return rule == BusinessRule::Business ? 0 : 1; }

}  // namespace

struct BusinessDays::Tables {
    struct Year {
        std::array<std::vector<Day>, kRules> closed;  // closed weekdays, sorted
        std::array<long, kRules> before{};            // closed weekdays of the years before
    };
    std::vector<Year> years;  // from kFirstYear, as far as asked for
};

BusinessDays::BusinessDays(const HolidayCalendar& calendar)
    : calendar_(calendar), tables_(std::make_unique<Tables>()) {}

BusinessDays::~BusinessDays() = default;

// Business days in [kWeekOrigin, day].
long BusinessDays::upTo(Day day, BusinessRule rule) const {
    const int year = std::clamp(yearOf(day), kFirstYear, kLastYear);
    auto& years = tables_->years;
    while (static_cast<int>(years.size()) <= year - kFirstYear) {
        const int y = kFirstYear + static_cast<int>(years.size());
        Tables::Year row;
        if (!years.empty()) {
            for (size_t r = 0; r < kRules; ++r) row.before[r] = years.back().before[r] + years.back().closed[r].size();
        }
        for (const auto& h : calendar_.holidaysOf(y)) {
            const Day d = dayOf(h.date);
            if (!isWeekend(d)) row.closed[0].push_back(d);
        }
        row.closed[1] = row.closed[0];
        for (Day d :
             {dayOf(y, 1, 1), dayOf(y, 1, 2), dayOf(y, 1, 3), dayOf(y, 12, 29), dayOf(y, 12, 30), dayOf(y, 12, 31)}) {
            if (!isWeekend(d) && !std::binary_search(row.closed[0].begin(), row.closed[0].end(), d)) {
                row.closed[1].push_back(d);
            }
        }
        std::sort(row.closed[1].begin(), row.closed[1].end());
        years.push_back(std::move(row));
    }
    const auto& row = years[static_cast<size_t>(year - kFirstYear)];
    const auto& closed = row.closed[index(rule)];
    const long closedSoFar =
        row.before[index(rule)] + (std::upper_bound(closed.begin(), closed.end(), day) - closed.begin());
    return weekdaysUpTo(day) - closedSoFar;
}

bool BusinessDays::isBusinessDay(std::chrono::year_month_day date, BusinessRule rule) const {
    const Day d = dayOf(date);
    if (isWeekend(d) || calendar_.holidayOn(date)) return false;
    return !(rule == BusinessRule::CivilService && inYearEnd(date));
}

long BusinessDays::count(std::chrono::year_month_day a, std::chrono::year_month_day b, bool includeStart,
                         BusinessRule rule) const {
    const Day lo = std::min(dayOf(a), dayOf(b));
    const Day hi = std::max(dayOf(a), dayOf(b));
    return upTo(hi, rule) - upTo(includeStart ? lo - 1 : lo, rule);
}

std::optional<std::chrono::year_month_day> BusinessDays::shift(std::chrono::year_month_day from, long n,
                                                               BusinessRule rule) const {
    const Day start = dayOf(from);
    if (n == 0) return from;
    // The answer is the first day whose running count reaches the target. Between the
    // bounds below the count rises by at least one day in two, plus a margin for runs of
    // holidays, so a binary search over that window finds it.
    const long target = n > 0 ? upTo(start, rule) + n : upTo(start - 1, rule) + n + 1;
    const long reach = 2 * (n > 0 ? n : -n) + 64;
    Day lo = n > 0 ? start + 1 : static_cast<Day>(std::max<long>(kFirstDay, start - reach));
    Day hi = n > 0 ? static_cast<Day>(std::min<long>(kLastDay, start + reach)) : start - 1;
    if (lo > hi || upTo(hi, rule) < target || upTo(lo - 1, rule) >= target) return std::nullopt;
    while (lo < hi) {
        const Day mid = lo + (hi - lo) / 2;
        if (upTo(mid, rule) >= target) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return dateOf(lo);
}

}  // namespace kalvo::holidays
