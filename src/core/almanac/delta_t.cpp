// ΔT = TT - UT, in seconds.
//
// Observed values, one on 1 January of each year:
//   1840-1973  the Astronomical Almanac's table of ΔT (as reprinted in its section K and in
//              Meeus, Astronomical Algorithms, table 10.A), from telescopic observations of
//              the Moon and, from 1955, atomic time;
//   1974-2026  the US Naval Observatory's monthly determinations (deltat.data, TT - UT1
//              at 0h UT on the first of the month), the January value of each year and the
//              last month observed, 2026-04-01.
// Predicted: the USNO's quarterly predictions (deltat.preds) from 2026-07-01 to 2033-10-01.
// Beyond that ΔT grows from the predictions' last value and rate with the long-term
// acceleration of Morrison and Stephenson (2004), ΔT = -20 + 32 u², u = (year - 1820) / 100,
// i.e. 0.0064 s per year squared. In 2100 that gives 111 s; any figure there is a forecast.
#include "core/almanac/ephemeris.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace kalvo {
namespace {

constexpr int kFirstYear = 1840;
constexpr std::array<double, 187> kYearly = {
    // 1840-1849
    5.70, 5.80, 5.90, 6.10, 6.20, 6.30, 6.50, 6.60, 6.80, 6.90,
    // 1850-1859
    7.10, 7.20, 7.30, 7.40, 7.50, 7.60, 7.70, 7.70, 7.80, 7.80,
    // 1860-1869
    7.88, 7.82, 7.54, 6.97, 6.40, 6.02, 5.41, 4.10, 2.92, 1.82,
    // 1870-1879
    1.61, 0.10, -1.02, -1.28, -2.69, -3.24, -3.64, -4.54, -4.71, -5.11,
    // 1880-1889
    -5.40, -5.42, -5.20, -5.46, -5.46, -5.79, -5.63, -5.64, -5.80, -5.66,
    // 1890-1899
    -5.87, -6.01, -6.19, -6.64, -6.44, -6.47, -6.09, -5.76, -4.66, -3.74,
    // 1900-1909
    -2.72, -1.54, -0.02, 1.24, 2.64, 3.86, 5.37, 6.14, 7.75, 9.13,
    // 1910-1919
    10.46, 11.53, 13.36, 14.65, 16.01, 17.20, 18.24, 19.06, 20.25, 20.95,
    // 1920-1929
    21.16, 22.25, 22.41, 23.03, 23.49, 23.62, 23.86, 24.49, 24.34, 24.08,
    // 1930-1939
    24.02, 24.00, 23.87, 23.95, 23.86, 23.93, 23.73, 23.92, 23.96, 24.02,
    // 1940-1949
    24.33, 24.83, 25.30, 25.70, 26.24, 26.77, 27.28, 27.78, 28.25, 28.71,
    // 1950-1959
    29.15, 29.57, 29.97, 30.36, 30.72, 31.07, 31.35, 31.68, 32.18, 32.68,
    // 1960-1969
    33.15, 33.59, 34.00, 34.47, 35.03, 35.73, 36.54, 37.43, 38.29, 39.20,
    // 1970-1979
    40.18, 41.17, 42.23, 43.37, 44.4841, 45.4761, 46.4567, 47.5214, 48.5344, 49.5861,
    // 1980-1989
    50.5387, 51.3808, 52.1668, 52.9565, 53.7882, 54.3427, 54.8713, 55.3222, 55.8197, 56.3000,
    // 1990-1999
    56.8553, 57.5653, 58.3092, 59.1218, 59.9845, 60.7853, 61.6287, 62.2950, 62.9659, 63.4673,
    // 2000-2009
    63.8285, 64.0908, 64.2998, 64.4734, 64.5736, 64.6876, 64.8452, 65.1464, 65.4573, 65.7768,
    // 2010-2019
    66.0699, 66.3246, 66.6030, 66.9069, 67.2810, 67.6439, 68.1024, 68.5927, 68.9676, 69.2202,
    // 2020-2026
    69.3612, 69.3594, 69.2945, 69.2039, 69.1752, 69.1377, 69.1099};

struct Node {
    int mjd;
    double seconds;
};
// The last observed month, then the USNO's predictions, by Modified Julian Date.
constexpr Node kLater[] = {
    {61131, 69.133}, {61223, 69.11}, {61314, 69.09}, {61406, 69.14}, {61497, 69.21}, {61588, 69.26}, {61680, 69.26},
    {61771, 69.34},  {61862, 69.44}, {61954, 69.51}, {62045, 69.54}, {62136, 69.63}, {62228, 69.75}, {62319, 69.83},
    {62410, 69.87},  {62502, 69.97}, {62593, 70.08}, {62684, 70.17}, {62775, 70.21}, {62867, 70.32}, {62958, 70.42},
    {63049, 70.51},  {63141, 70.53}, {63232, 70.62}, {63323, 70.72}, {63415, 70.82}, {63506, 70.86}, {63597, 70.98},
    {63689, 71.10},  {63780, 71.20}, {63871, 71.25}};

double yearOfMjd(int mjd) { return 2000.0 + (mjd - 51544) / 365.2425; }

constexpr double kAcceleration = 2.0 * 32.0 / 10000.0;  // s per year², from -20 + 32 u²

}  // namespace

double deltaTSeconds(double year) {
    const double lastYearly = kFirstYear + static_cast<double>(kYearly.size() - 1);
    if (year <= kFirstYear) return kYearly.front();
    if (year < lastYearly) {
        const auto i = static_cast<size_t>(year - kFirstYear);
        const double f = year - kFirstYear - static_cast<double>(i);
        return kYearly[i] + f * (kYearly[i + 1] - kYearly[i]);
    }
    double prevYear = lastYearly, prev = kYearly.back();
    for (const Node& n : kLater) {
        const double y = yearOfMjd(n.mjd);
        if (year < y) return prev + (year - prevYear) / (y - prevYear) * (n.seconds - prev);
        prevYear = y;
        prev = n.seconds;
    }
    // The predictions' rate over their last year, then the tidal acceleration.
    const Node& a = kLater[std::size(kLater) - 5];
    const double rate = (prev - a.seconds) / (prevYear - yearOfMjd(a.mjd));
    const double dy = year - prevYear;
    return prev + rate * dy + 0.5 * kAcceleration * dy * dy;
}

}  // namespace kalvo
