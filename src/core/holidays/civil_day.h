// Days as plain integers for the holiday and business-day arithmetic: the count of days
// since 1970-01-01, with the conversions to and from std::chrono's civil dates. Kept here
// so that the holidays need nothing outside the standard library.
#pragma once

#include <chrono>

namespace kalvo::holidays {

using Day = int;

// The dates Kalvo shows: 0100-01-01 .. 9999-12-31.
inline constexpr int kFirstYear = 100;
inline constexpr int kLastYear = 9999;

constexpr Day dayOf(std::chrono::year_month_day d) {
    return static_cast<Day>(std::chrono::sys_days{d}.time_since_epoch().count());
}
constexpr Day dayOf(int y, unsigned m, unsigned d) {
    return dayOf(std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d});
}
constexpr std::chrono::year_month_day dateOf(Day d) { return std::chrono::sys_days{std::chrono::days{d}}; }
constexpr int yearOf(Day d) { return static_cast<int>(dateOf(d).year()); }
// 0 Sunday .. 6 Saturday.
constexpr unsigned weekdayOf(Day d) {
    return std::chrono::weekday{std::chrono::sys_days{std::chrono::days{d}}}.c_encoding();
}

inline constexpr Day kFirstDay = dayOf(kFirstYear, 1, 1);
inline constexpr Day kLastDay = dayOf(kLastYear, 12, 31);

}  // namespace kalvo::holidays
