#include "core/almanac/almanac_events.h"

#include "core/almanac/ephemeris.h"

#include <chrono>
#include <cmath>

namespace kalvo {
namespace {

constexpr double kSynodic = 29.530588861;
constexpr double kFirstMeanNewMoon = 5.09766;  // TT days after J2000.0 (6 January 2000)

int floorDiv(double a, double b) { return static_cast<int>(std::floor(a / b)); }

// almanacDayOf without the rest of the almanac, which reads the table this engine writes.
int januaryFirst(int year) {
    using namespace std::chrono;
    return static_cast<int>(sys_days{std::chrono::year{year} / January / 1}.time_since_epoch().count());
}

}  // namespace

YearEvents computeYearEvents(int year) {
    YearEvents y;
    const int jan1 = januaryFirst(year);
    const int nextJan1 = januaryFirst(year + 1);
    // Days since J2000.0 at 0h UT of a JST day, near enough TT for a first guess.
    auto guessOf = [](int day) { return day + (kUnixEpochJd - kJ2000); };
    for (int j = 0; j < 24; ++j) {
        const int term = (19 + j) % 24;  // 小寒 (285 degrees) first
        const double tt = solveSunLongitude(term * 15.0, guessOf(jan1 + 5) + j * 15.2184);
        const double ut = unixFromTtDays(tt);
        y.terms[j] = AlmanacEvent{ut, jstDayOfUnix(ut), term};
    }
    const int kFirst = floorDiv(guessOf(jan1) - 1.0 - kFirstMeanNewMoon, kSynodic) + 1;
    for (int k = kFirst;; ++k) {
        const double mean = kFirstMeanNewMoon + kSynodic * k;
        if (mean > guessOf(nextJan1) + 1.0) break;
        const double ut = unixFromTtDays(solveNewMoon(mean));
        const int day = jstDayOfUnix(ut);
        if (day >= jan1 && day < nextJan1) y.moons.push_back(AlmanacEvent{ut, day, -1});
    }
    return y;
}

}  // namespace kalvo
