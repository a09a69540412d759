// The holidays as the law made them, as data: what each line of 国民の祝日に関する法律
// (昭和23年法律第178号) and of the special laws says, year by year. holidays.cpp turns
// these rows into the days of a year; the next amendment is one row here.
#pragma once

#include "core/holidays/civil_day.h"

#include <span>
#include <string_view>

namespace kalvo::holidays {

// The last year whose 春分日 and 秋分日 the government has announced (in the almanac it
// publishes each February for the next year). Equinox holidays after it are predictions.
inline constexpr int kLastAnnouncedEquinoxYear = 2027;

// The law came into force on its day of promulgation; nothing before it is a holiday.
inline constexpr Day kLawInForce = dayOf(1948, 7, 20);
// 第3条第2項 (昭和48年法律第10号, in force 1973-04-12): a 国民の祝日 on a Sunday makes the
// next day a holiday; applied to 国民の祝日 from that day on.
inline constexpr Day kSubstituteFrom = dayOf(1973, 4, 12);
// 第3条第2項 as 平成17年法律第43号 wrote it (in force 2007-01-01): the nearest following
// day that is not a 国民の祝日.
inline constexpr Day kNearestSubstituteFrom = dayOf(2007, 1, 1);
// 第3条第3項 (昭和60年法律第103号, in force 1985-12-27): a day whose day before and day
// after are both 国民の祝日.
inline constexpr Day kCitizensHolidayFrom = dayOf(1985, 12, 27);

enum class DayRule {
    Fixed,             // month/day
    NthMonday,         // the day-th Monday of month
    MarchEquinox,      // 春分日
    SeptemberEquinox,  // 秋分日
};

// One line of 第2条 as it stood from firstYear to lastYear (both inclusive).
struct HolidayRule {
    std::string_view name;
    int firstYear;
    int lastYear;
    DayRule rule;
    unsigned month;
    unsigned day;  // the day of the month, or which Monday
};

// A day made a holiday once by a law of its own; the laws make it a 休日 as 国民の祝日 are.
struct OneOffHoliday {
    Day day;
    std::string_view name;
};

// A 国民の祝日 moved to another day for one year.
struct MovedHoliday {
    int year;
    std::string_view name;
    Day day;
};

std::span<const HolidayRule> holidayRules();
std::span<const OneOffHoliday> oneOffHolidays();
std::span<const MovedHoliday> movedHolidays();

}  // namespace kalvo::holidays
