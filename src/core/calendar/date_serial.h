// Date serials: whole days counted from 1899-12-30 (serial 0), negative before it,
// in the proleptic Gregorian calendar. Representable dates run from 0100-01-01 to
// 9999-12-31. Every calendar operation of the program goes through this header.
#pragma once

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

using Serial = double;

struct Ymd {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    bool operator==(const Ymd&) const = default;
};

inline constexpr int kMinYear = 100;
inline constexpr int kMaxYear = 9999;
inline constexpr long kMinSerial = -657434;  // 0100-01-01
inline constexpr long kMaxSerial = 2958465;  // 9999-12-31

namespace detail {

// sys_days counts from 1970-01-01, serials from 1899-12-30.
inline constexpr long kEpochOffset = 25569;

// The whole day of a serial (rounding down). Serials the program holds are far inside
// the range where a conversion to long is exact, and that spares the call to floor.
constexpr long wholeDay(Serial s) {
    if (s > -1e15 && s < 1e15) {
        const long n = static_cast<long>(s);
        return static_cast<Serial>(n) > s ? n - 1 : n;
    }
    return static_cast<long>(std::floor(s));
}

constexpr std::chrono::sys_days toSysDays(Serial s) {
    return std::chrono::sys_days{std::chrono::days{wholeDay(s) - kEpochOffset}};
}

constexpr Serial toSerial(std::chrono::sys_days d) {
    return static_cast<Serial>(d.time_since_epoch().count() + kEpochOffset);
}

}  // namespace detail

// The serial's whole day counted from 1970-01-01, as std::chrono's sys_days, the almanac
// and the holidays count days; and the serial of such a day.
constexpr long unixDayOf(Serial s) { return detail::wholeDay(s) - detail::kEpochOffset; }
constexpr Serial serialOfUnixDay(long day) { return static_cast<Serial>(day + detail::kEpochOffset); }

// Year, month and day of the serial's whole day (a fraction is ignored, rounding down).
constexpr Ymd toYmd(Serial s) {
    const std::chrono::year_month_day ymd{detail::toSysDays(s)};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

// The year alone, for the era year that needs nothing else.
int yearOf(Serial s);

// 1 for Sunday .. 7 for Saturday.
constexpr int weekday(Serial s) {
    return static_cast<int>(std::chrono::weekday{detail::toSysDays(s)}.c_encoding()) + 1;
}

bool inRange(Serial s);

// Builds a date with roll-over: month 0 is December of the year before, month 13
// January of the next; day 0 is the last day of the month before, and a day past
// the month's end runs on into the following month (2003, 2, 30 is 2003-03-02).
constexpr Serial fromYmd(int year, int month, int day) {
    using namespace std::chrono;
    const year_month first = year_month{std::chrono::year{year}, January} + months{month - 1};
    return detail::toSerial(sys_days{first / 1} + days{day - 1});
}

static_assert(fromYmd(100, 1, 1) == kMinSerial && fromYmd(9999, 12, 31) == kMaxSerial);
// Strict: nullopt unless year/month/day name a real calendar day in 100..9999.
std::optional<Serial> makeDate(int year, int month, int day);

Serial addDays(Serial s, long days);
// Keeps the day of month, cut back to the end of a shorter month; nullopt when the
// result leaves 0100-01-01..9999-12-31.
std::optional<Serial> addMonths(Serial s, long months);
std::optional<Serial> addYears(Serial s, long years);

// later - earlier in whole days.
long diffDays(Serial earlier, Serial later);

// "yyyy/m/d": the year with four digits, month and day without padding ("1997/10/16").
std::string toText(Serial s);
// Date texts are read by one reader, for every form: core/era/date_text.h.

}  // namespace kalvo
