// What the holiday tests share: the published equinox days and a date as text.
#pragma once

#include "core/holidays/holidays.h"

#include <cstdio>
#include <map>
#include <string>

namespace kalvo::holidays::testing {

// 春分日 and 秋分日 as the government announced them, for the years the tests look at.
inline std::optional<EquinoxDays> publishedEquinoxes(int year) {
    static const std::map<int, EquinoxDays> days = {
        {1948, {21, 23}},
        {1973, {21, 23}},
        {1987, {21, 23}},
        {1988, {20, 23}},
        {1989, {21, 23}},
        {2000, {20, 23}},
        {2003, {21, 23}},
        {2007, {21, 23}},
        {2008, {20, 23}},
        {2009, {20, 23}},
        {2015, {21, 23}},
        {2019, {21, 23}},
        {2020, {20, 22}},
        {2021, {20, 23}},
        {2025, {20, 23}},
        {2026, {20, 23}},
        {2027, {21, 23}},
        // Not announced yet: the day the Sun is expected to reach 0° and 180° (JST).
        {2028, {20, 22}},
    };
    const auto it = days.find(year);
    return it == days.end() ? std::nullopt : std::optional(it->second);
}

inline std::string iso(std::chrono::year_month_day d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return buf;
}

}  // namespace kalvo::holidays::testing
