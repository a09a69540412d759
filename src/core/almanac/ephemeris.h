// The Sun's and the Moon's apparent geocentric ecliptic longitude (true equinox and ecliptic
// of date) and the difference between Terrestrial Time and Universal Time.
//
// Time arguments are days since J2000.0 (2000-01-01 12:00) in TT; instants in UT are kept as
// seconds since 1970-01-01 00:00 UT, the unit the almanac's lists and day boundaries use.
#pragma once

namespace kalvo {

inline constexpr double kJ2000 = 2451545.0;        // Julian date of J2000.0
inline constexpr double kUnixEpochJd = 2440587.5;  // Julian date of 1970-01-01 00:00
inline constexpr double kSecondsPerDay = 86400.0;

// ΔT = TT - UT in seconds at a UT instant given as a decimal Gregorian year.
double deltaTSeconds(double year);

// The decimal year of a UT instant in seconds since 1970.
double decimalYearOfUnix(double unixSeconds);

// Converts between TT days since J2000.0 and UT seconds since 1970.
double ttDaysFromUnix(double unixSeconds);
double unixFromTtDays(double ttDays);

// Apparent geocentric ecliptic longitudes in degrees, [0, 360): ERFA's Earth ephemeris with
// light-time and aberration for the Sun, ELP 2000-82B (libnova) with light-time for the Moon,
// both rotated to the true equinox and ecliptic of date with IAU 2006 precession and the
// IAU 2000B nutation.
double sunApparentLongitude(double ttDays, double* rate = nullptr);
double moonApparentLongitude(double ttDays);

// Fast approximations of both (tens of arcseconds), used to bracket an event before the
// precise series are asked, and their rates in degrees per day.
double sunApproxLongitude(double ttDays, double* rate = nullptr);
double moonApproxLongitude(double ttDays, double* rate = nullptr);

// The TT instant (days since J2000.0) nearest to guessTtDays at which the Sun's apparent
// longitude is targetDegrees, and the one at which the Moon's equals the Sun's.
double solveSunLongitude(double targetDegrees, double guessTtDays);
double solveNewMoon(double guessTtDays);

}  // namespace kalvo
