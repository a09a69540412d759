// Business days over a holiday calendar, counted without walking the days: the weekdays
// of a stretch are arithmetic, and the closed weekdays of each year (its holidays that do
// not fall on a weekend, and for the civil service also 12/29–1/3) are a short sorted list
// with running totals over the years. The totals grow as far as the years asked for and are
// kept, so a count is a few lookups once those years have been seen.
#pragma once

#include "core/holidays/holidays.h"

#include <chrono>
#include <memory>
#include <optional>

namespace kalvo::holidays {

enum class BusinessRule {
    Business,      // 営業日: not a Saturday, a Sunday or a holiday
    CivilService,  // also not 12/29–1/3, the days 行政機関の休日に関する法律 closes the offices
};

class BusinessDays {
public:
    explicit BusinessDays(const HolidayCalendar& calendar);
    ~BusinessDays();
    BusinessDays(const BusinessDays&) = delete;
    BusinessDays& operator=(const BusinessDays&) = delete;

    bool isBusinessDay(std::chrono::year_month_day date, BusinessRule rule) const;
    // In either order: the business days after the earlier date up to and including the
    // later one, and the earlier date too with includeStart (起算日含む), as the span counts.
    long count(std::chrono::year_month_day a, std::chrono::year_month_day b, bool includeStart,
               BusinessRule rule) const;
    // The n-th business day after the date (n > 0) or before it (n < 0); the date itself
    // for 0. nullopt when that day would lie outside 0100-01-01..9999-12-31.
    std::optional<std::chrono::year_month_day> shift(std::chrono::year_month_day from, long n, BusinessRule rule) const;

private:
    struct Tables;
    long upTo(Day day, BusinessRule rule) const;
    const HolidayCalendar& calendar_;
    std::unique_ptr<Tables> tables_;
};

}  // namespace kalvo::holidays
