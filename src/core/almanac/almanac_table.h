// The solar terms and new moons of every year the almanac covers, as computeYearEvents
// gives them: written at build time by cmake/almanac_table.cpp, so that the program looks
// them up instead of solving the Sun's and the Moon's series on first use (0.7 s for 200
// years). Instants are seconds since 1970-01-01 00:00 UT, exact to the last bit.
#pragma once

namespace kalvo::almanac_table {

extern const int kFirstYear;
extern const int kLastYear;
// kTerms[year - kFirstYear]: the year's 24 solar terms from 小寒 to 冬至.
extern const double kTerms[][24];
// The new moons of a year are kMoons[kMoonStart[i]] up to kMoons[kMoonStart[i + 1]].
extern const int kMoonStart[];
extern const double kMoons[];

}  // namespace kalvo::almanac_table
