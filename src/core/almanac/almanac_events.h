// The solar terms and new moons of one calendar year, computed from the ephemeris. The build
// runs this once for every year the almanac covers (cmake/almanac_table.cpp) and the program
// reads the table it writes; the precision check and the tests of the series call it too.
#pragma once

#include "core/almanac/almanac.h"

#include <array>
#include <cmath>
#include <vector>

namespace kalvo {

// The events whose JST date lies in one calendar year: its 24 solar terms from 小寒 to 冬至,
// and its new moons.
struct YearEvents {
    std::array<AlmanacEvent, 24> terms;
    std::vector<AlmanacEvent> moons;
};

// The years the almanac's tables hold: the solar terms of 1843 need 1842's, and 冬至 of 2200
// the new moons of 2202.
inline constexpr int kAlmanacDataFirstYear = kAlmanacFirstYear - 2;
inline constexpr int kAlmanacDataLastYear = kAlmanacLastYear + 2;

YearEvents computeYearEvents(int year);

// The JST day of an instant (seconds since 1970-01-01 00:00 UT).
inline int jstDayOfUnix(double unixSeconds) {
    return static_cast<int>(std::floor((unixSeconds + 9 * 3600.0) / 86400.0));
}

}  // namespace kalvo
