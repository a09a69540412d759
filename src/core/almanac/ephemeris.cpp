#include "core/almanac/ephemeris.h"

#include <erfa.h>
#include <libnova/lunar.h>

#include <cmath>

namespace kalvo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kAuPerDayLight = 173.1446326846693;  // speed of light in au per day
constexpr double kLightKmPerDay = 299792.458 * kSecondsPerDay;
// Terms of ELP 2000-82B whose amplitude is below this are left out: measured over 1900-2100
// they move the Moon by less than 0.1" (0.2 s of a new moon) and would cost ten times the
// rest (1e-6 was 3" off, 1e-7 0.6").
constexpr double kElpPrecision = 1e-8;

double norm360(double deg) {
    double r = std::fmod(deg, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

// From GCRS to the ecliptic of date with the x axis at the true equinox: the IAU 2006
// Fukushima-Williams precession angles with the nutation in longitude added to psi, and
// no final turn by the obliquity (which would give the true equator instead).
void gcrsToTrueEcliptic(double ttDays, double r[3][3]) {
    double gamb, phib, psib, epsa, dpsi, deps;
    eraPfw06(kJ2000, ttDays, &gamb, &phib, &psib, &epsa);
    eraNut00b(kJ2000, ttDays, &dpsi, &deps);
    eraFw2m(gamb, phib, psib + dpsi, 0.0, r);
}

double longitudeOf(const double r[3][3], const double p[3]) {
    double e[3];
    eraRxp(const_cast<double(*)[3]>(r), const_cast<double*>(p), e);
    return norm360(std::atan2(e[1], e[0]) / kDeg);
}

// ELP's frame (the inertial mean ecliptic and equinox of J2000) to GCRS: turn by the
// J2000 obliquity to the mean equator, then undo the frame bias.
struct ElpToGcrs {
    double m[3][3];
    ElpToGcrs() {
        double toEquator[3][3];
        eraIr(toEquator);
        eraRx(-eraObl06(kJ2000, 0.0), toEquator);
        double rb[3][3], rp[3][3], rbp[3][3], rbT[3][3];
        eraBp06(kJ2000, 0.0, rb, rp, rbp);
        eraTr(rb, rbT);
        eraRxr(rbT, toEquator, m);
    }
};

}  // namespace

double decimalYearOfUnix(double unixSeconds) { return 1970.0 + unixSeconds / kSecondsPerDay / 365.2425; }

double ttDaysFromUnix(double unixSeconds) {
    const double tt = unixSeconds + deltaTSeconds(decimalYearOfUnix(unixSeconds));
    return (tt / kSecondsPerDay) + (kUnixEpochJd - kJ2000);
}

double unixFromTtDays(double ttDays) {
    const double ttUnix = (ttDays - (kUnixEpochJd - kJ2000)) * kSecondsPerDay;
    double ut = ttUnix - deltaTSeconds(decimalYearOfUnix(ttUnix));
    ut = ttUnix - deltaTSeconds(decimalYearOfUnix(ut));
    return ut;
}

double sunApparentLongitude(double ttDays, double* rate) {
    double pvh[2][3], pvb[2][3];
    eraEpv00(kJ2000, ttDays, pvh, pvb);
    // The Sun seen from the Earth where it was when its light left, then the aberration
    // of the Earth's barycentric velocity.
    double p[3];
    for (int i = 0; i < 3; ++i) p[i] = -pvh[0][i];
    const double tau = eraPm(p) / kAuPerDayLight;
    for (int i = 0; i < 3; ++i) p[i] -= (pvb[1][i] - pvh[1][i]) * tau;
    double dist, u[3], v[3], apparent[3];
    eraPn(p, &dist, u);
    for (int i = 0; i < 3; ++i) v[i] = pvb[1][i] / kAuPerDayLight;
    const double bm1 = std::sqrt(1.0 - eraPm(v) * eraPm(v));
    eraAb(u, v, dist, bm1, apparent);
    double r[3][3];
    gcrsToTrueEcliptic(ttDays, r);
    if (rate) {
        // The Sun's geocentric motion is the Earth's heliocentric one reversed; the equinox
        // moves back along the ecliptic by the general precession, 50.29" a year.
        double e[3], ve[3], vs[3];
        eraRxp(r, apparent, e);
        for (int i = 0; i < 3; ++i) vs[i] = -pvh[1][i];
        eraRxp(r, vs, ve);
        *rate = (e[0] * ve[1] - e[1] * ve[0]) / (e[0] * e[0] + e[1] * e[1]) / dist / kDeg + 50.29 / 3600 / 365.25;
    }
    return longitudeOf(r, apparent);
}

double moonApparentLongitude(double ttDays) {
    static const ElpToGcrs frame;
    ln_rect_posn m;
    ln_get_lunar_geo_posn(kJ2000 + ttDays, &m, kElpPrecision);
    const double elp[3] = {m.X, m.Y, m.Z};
    double gcrs[3];
    eraRxp(const_cast<double(*)[3]>(frame.m), const_cast<double*>(elp), gcrs);
    double r[3][3];
    gcrsToTrueEcliptic(ttDays, r);
    // Light-time: the Moon is seen where it was 1.3 s earlier; its rate is steady enough
    // over that second for the approximate one to do.
    double rate = 0.0;
    moonApproxLongitude(ttDays, &rate);
    const double tau = eraPm(gcrs) / kLightKmPerDay;
    return norm360(longitudeOf(r, gcrs) - rate * tau);
}

double sunApproxLongitude(double ttDays, double* rate) {
    // The low-precision solar coordinates of the Astronomical Almanac (about 0.01 degree).
    const double t = ttDays / 36525.0;
    const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double mDeg = 357.52911 + 35999.05029 * t - 0.0001537 * t * t;
    const double m = mDeg * kDeg;
    const double c = (1.914602 - 0.004817 * t) * std::sin(m) + 0.019993 * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = (125.04 - 1934.136 * t) * kDeg;
    if (rate) {
        const double dc =
            (1.914602 * std::cos(m) + 0.039986 * std::cos(2 * m) + 0.000867 * std::cos(3 * m)) * 35999.05029 * kDeg;
        *rate = (36000.76983 + dc) / 36525.0;
    }
    return norm360(l0 + c - 0.00569 - 0.00478 * std::sin(omega));
}

double moonApproxLongitude(double ttDays, double* rate) {
    double pv[2][3];
    eraMoon98(kJ2000, ttDays, pv);
    double gamb, phib, psib, epsa, r[3][3];
    eraPfw06(kJ2000, ttDays, &gamb, &phib, &psib, &epsa);
    eraFw2m(gamb, phib, psib, 0.0, r);
    double p[3], v[3];
    eraRxp(r, pv[0], p);
    eraRxp(r, pv[1], v);
    if (rate) *rate = (p[0] * v[1] - p[1] * v[0]) / (p[0] * p[0] + p[1] * p[1]) / kDeg;
    // The nutation in longitude's main term: enough to keep the approximation to arcseconds.
    const double omega = (125.04452 - 1934.136261 * ttDays / 36525.0) * kDeg;
    return norm360(std::atan2(p[1], p[0]) / kDeg - 17.20 / 3600.0 * std::sin(omega));
}

namespace {

double wrap180(double deg) { return deg - 360.0 * std::floor((deg + 180.0) / 360.0); }

// A precise step shorter than this needs no check by another: what is left of the error is
// the step times the relative error of the rate it was divided by.
constexpr double kSettledSun = 1800.0 / kSecondsPerDay;
constexpr double kSettledMoon = 300.0 / kSecondsPerDay;

}  // namespace

double solveSunLongitude(double targetDegrees, double guessTtDays) {
    double t = guessTtDays;
    for (int i = 0; i < 10; ++i) {
        double rate;
        const double step = wrap180(sunApproxLongitude(t, &rate) - targetDegrees) / rate;
        t -= step;
        if (std::fabs(step) < 1e-5) break;
    }
    // Newton steps on the precise longitude and rate. The approximation leaves the first
    // within a quarter of an hour, and the rate (good to 1e-4) then within 0.1 s.
    for (int i = 0; i < 4; ++i) {
        double rate;
        const double step = wrap180(sunApparentLongitude(t, &rate) - targetDegrees) / rate;
        t -= step;
        if (std::fabs(step) < kSettledSun) break;
    }
    return t;
}

double solveNewMoon(double guessTtDays) {
    double t = guessTtDays;
    for (int i = 0; i < 12; ++i) {
        double rs, rm;
        const double step = wrap180(moonApproxLongitude(t, &rm) - sunApproxLongitude(t, &rs)) / (rm - rs);
        t -= step;
        if (std::fabs(step) < 1e-5) break;
    }
    // The approximations leave the first precise step under two minutes; the elongation's
    // rate, good to 2e-4, then leaves under 0.03 s.
    for (int i = 0; i < 4; ++i) {
        double rs, rm;
        moonApproxLongitude(t, &rm);
        const double elongation = moonApparentLongitude(t) - sunApparentLongitude(t, &rs);
        const double step = wrap180(elongation) / (rm - rs);
        t -= step;
        if (std::fabs(step) < kSettledMoon) break;
    }
    return t;
}

}  // namespace kalvo
