// Date serials: whole days counted from 1899-12-30 (serial 0), negative before it,
// in the proleptic Gregorian calendar. Representable dates run from 0100-01-01 to
// 9999-12-31. Every calendar operation of the program goes through this header.
#pragma once

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

// Year, month and day of the serial's whole day (a fraction is ignored, rounding down).
Ymd toYmd(Serial s);
// The year alone, for the era year that needs nothing else.
int yearOf(Serial s);
// 1 for Sunday .. 7 for Saturday.
int weekday(Serial s);
bool inRange(Serial s);

// Builds a date with roll-over: month 0 is December of the year before, month 13
// January of the next; day 0 is the last day of the month before, and a day past
// the month's end runs on into the following month (2003, 2, 30 is 2003-03-02).
Serial fromYmd(int year, int month, int day);
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
// Reads y/m/d (also with "-" or "." between the numbers, blanks around them, month and
// day padded or not, full-width digits). Rejects anything that is not a calendar day in
// 0100-01-01..9999-12-31 ("2003/2/30", "2003/13/1", "abc").
std::optional<Serial> parseDate(std::string_view text);

}  // namespace kalvo
