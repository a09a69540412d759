// Moon age from a mean lunar cycle, the two figures that draw its phase, and the
// "##.##" / "##.#" number formats of the age caption.
#pragma once

#include "core/calendar/date_serial.h"

#include <string>
#include <string_view>

namespace kalvo {

// Mean synodic month in days, and the fraction of a cycle already elapsed at serial 0.
inline constexpr double kSynodicMonth = 29.530589;
inline constexpr double kPhaseOffset = 0.9291176;

// Days since the last new moon of the mean model, 0 <= age < synodicMonth before the
// result is rounded to single precision. Negative serials work the same way: the cycle
// fraction is taken with floor, so it never comes out negative.
float moonAgeOf(Serial date, double synodicMonth = kSynodicMonth);

// The phase picture in the picture's user units: a lit half-disc of radius
// kMoonRadius centred on (0, 0), and over it an ellipse of vertical semi-axis
// kMoonRadius that either darkens part of the lit half (crescent) or lights part of
// the dark half (gibbous).
inline constexpr double kMoonRadius = 150.0;
inline constexpr double kPhaseRate = 0.2127687;  // radians of terminator turn per day of age

enum class MoonHalf { Right, Left };
enum class MoonShade { Dark, Lit };

struct PhaseFigure {
    MoonHalf litHalf = MoonHalf::Right;
    // The lit half as a sector: degrees counter-clockwise from the positive x axis as
    // seen on screen, from start to end (270 -> 90 is the right half).
    double sectorStart = 270.0;
    double sectorEnd = 90.0;
    MoonShade ellipseShade = MoonShade::Dark;
    double ellipseAngle = 0.0;     // terminator angle theta in radians
    double ellipseSemiAxis = 0.0;  // horizontal semi-axis, kMoonRadius * sin(theta), >= 0
};

// The lit half is chosen by comparing the age with half a cycle in double precision;
// the ellipse case by comparing it with the quarter ages rounded to single precision,
// every bound inclusive on its upper side.
PhaseFigure phaseFigure(float moonAge, double synodicMonth = kSynodicMonth);

// Share of the disc's area that the figure shows lit, 0..1.
double litShare(const PhaseFigure& figure);

// The "#" number patterns with at most `decimals` decimals: no leading zero, the
// decimal point always, no trailing zeros ("14.42", ".91", "12.", "." for zero with
// decimals 2). Rounding is decimal, half away from zero, on the number as written
// with 15 significant digits, so 17.125 gives "17.13" with two decimals. A value that
// rounds to zero has no sign; non-finite values give "nan", "inf" or "-inf".
std::string formatDecimals(double value, int decimals);
// The same pattern applied to a number given as text (".91" -> ".9" with one decimal,
// "24.15" -> "24.2"). Text that is not a plain decimal number is returned unchanged.
std::string formatDecimalText(std::string_view text, int decimals);

}  // namespace kalvo
