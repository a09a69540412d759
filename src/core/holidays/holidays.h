// The holidays of any year from 1948: the 国民の祝日 of the law's rows, 振替休日 and
// 国民の休日, with the equinox days taken from a source the caller supplies (the almanac's
// solar terms in the program, published days in tests). Each year is worked out once and
// kept; a calendar object is not for use from two threads at once.
#pragma once

#include "core/holidays/civil_day.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kalvo::holidays {

enum class HolidayKind {
    National,    // 祝日: a 国民の祝日, or a day a special law made a holiday once
    Substitute,  // 振替休日
    Citizens,    // 国民の休日
};

// "祝日", "振替休日" or "国民の休日".
std::string_view kindName(HolidayKind kind);

struct Holiday {
    std::chrono::year_month_day date;
    std::string_view name;  // as the law gives it; "振替休日" and "国民の休日" for those kinds
    HolidayKind kind = HolidayKind::National;
    // An equinox day after the last announced year, or a 休日 that follows from one (予測).
    bool predicted = false;
};

// The day of March of 春分日 and of September of 秋分日 (JST) of one year; a day that is
// not one of its month (0 for unknown) gives no holiday.
struct EquinoxDays {
    unsigned march = 0;
    unsigned september = 0;
};
// nullopt for a year the source does not know: that year then has neither equinox holiday.
using EquinoxSource = std::function<std::optional<EquinoxDays>(int year)>;

class HolidayCalendar {
public:
    explicit HolidayCalendar(EquinoxSource equinoxes);
    ~HolidayCalendar();
    HolidayCalendar(const HolidayCalendar&) = delete;
    HolidayCalendar& operator=(const HolidayCalendar&) = delete;

    // The holiday or 休日 on that date, if it is one.
    std::optional<Holiday> holidayOn(std::chrono::year_month_day date) const;
    // Every holiday and 休日 of the year in date order; empty outside 1948..9999.
    std::span<const Holiday> holidaysOf(int year) const;

private:
    struct Cache;
    EquinoxSource equinoxes_;
    std::unique_ptr<Cache> cache_;
};

}  // namespace kalvo::holidays
