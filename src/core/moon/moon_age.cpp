#include "core/moon/moon_age.h"

#include "core/text/text_scan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kalvo {

float moonAgeOf(Serial date, double synodicMonth) {
    const double cycles = date / synodicMonth + kPhaseOffset;
    const double fraction = cycles - std::floor(cycles);  // floor keeps it in [0, 1) below zero too
    return static_cast<float>(fraction * synodicMonth);
}

PhaseFigure phaseFigure(float moonAge, double synodicMonth) {
    const double q1 = synodicMonth / 4;
    const double q2 = synodicMonth / 2;
    const double q3 = synodicMonth * 3 / 4;
    const double age = moonAge;

    PhaseFigure f;
    if (age <= q2) {
        f.litHalf = MoonHalf::Right;
        f.sectorStart = 270.0;
        f.sectorEnd = 90.0;
    } else {
        f.litHalf = MoonHalf::Left;
        f.sectorStart = 90.0;
        f.sectorEnd = 270.0;
    }

    // The cases compare with the quarters as single-precision values, while the angle
    // uses the double ones; the two can straddle an age that lies between them.
    if (moonAge <= static_cast<float>(q1)) {
        f.ellipseShade = MoonShade::Dark;
        f.ellipseAngle = kPhaseRate * (q1 - age);
    } else if (moonAge <= static_cast<float>(q2)) {
        f.ellipseShade = MoonShade::Lit;
        f.ellipseAngle = kPhaseRate * (age - q1);
    } else if (moonAge <= static_cast<float>(q3)) {
        f.ellipseShade = MoonShade::Lit;
        f.ellipseAngle = kPhaseRate * (q3 - age);
    } else {
        f.ellipseShade = MoonShade::Dark;
        f.ellipseAngle = kPhaseRate * (age - q3);
    }

    // The ellipse's aspect (vertical over horizontal) is kept in single precision. An
    // angle of zero gives an infinite aspect and so a line of width zero; an age
    // between a quarter and its single-precision value gives a tiny negative angle,
    // whose ellipse is just as thin.
    const float aspect = static_cast<float>(1.0 / std::sin(f.ellipseAngle));
    const double semiAxis = kMoonRadius / static_cast<double>(aspect);
    f.ellipseSemiAxis = std::isfinite(semiAxis) ? std::min(std::fabs(semiAxis), kMoonRadius) : 0.0;
    return f;
}

double litShare(const PhaseFigure& figure) {
    const double ellipse = figure.ellipseSemiAxis / kMoonRadius / 2;  // half the ellipse over the disc
    return figure.ellipseShade == MoonShade::Lit ? 0.5 + ellipse : 0.5 - ellipse;
}

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kMaxDecimals = 400;  // past the smallest double's last digit

}  // namespace

std::string formatDecimals(double value, int decimals) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    decimals = std::clamp(decimals, 0, kMaxDecimals);

    // The number as written with 15 significant digits: d.dddddddddddddde+XX.
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buf, static_cast<std::size_t>(written.ptr - buf));
    std::string digits;
    digits += text[0];
    digits += text.substr(2, kSignificantDigits - 1);
    int exponent = 0;
    const std::string_view exponentText = text.substr(text.find('e') + 1);
    const char* from = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(from, exponentText.data() + exponentText.size(), exponent);

    // Digit i of `digits` has the place value 10^(exponent - i); the result keeps the
    // places from the highest integer place down to 10^-decimals.
    const int top = std::max(exponent, 0);
    std::string kept(static_cast<std::size_t>(top + decimals + 1), '0');
    bool roundUp = false;
    for (int i = 0; i < kSignificantDigits; ++i) {
        const int place = exponent - i;
        if (place >= -decimals) kept[static_cast<std::size_t>(top - place)] = digits[static_cast<std::size_t>(i)];
        else if (place == -decimals - 1) roundUp = digits[static_cast<std::size_t>(i)] >= '5';
    }
    if (roundUp) {  // half away from zero: the magnitude goes up
        std::size_t j = kept.size();
        while (j > 0 && kept[j - 1] == '9') kept[--j] = '0';
        if (j == 0) kept.insert(kept.begin(), '1');
        else ++kept[j - 1];
    }

    std::string whole = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    std::string fraction = kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));  // no leading zeros
    fraction.erase(fraction.find_last_not_of('0') + 1);                    // npos + 1 == 0: all zeros go
    const bool zero = whole.empty() && fraction.empty();
    return (std::signbit(value) && !zero ? "-" : "") + whole + "." + fraction;
}

std::string formatDecimalText(std::string_view text, int decimals) {
    std::string_view number = trimBlanks(text, Blanks::Spaces);
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);

    // A plain decimal number: an optional minus, digits, an optional point and digits.
    std::size_t i = (!number.empty() && number.front() == '-') ? 1 : 0;
    bool anyDigit = false;
    bool point = false;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c >= '0' && c <= '9') anyDigit = true;
        else if (c == '.' && !point) point = true;
        else return std::string(text);
    }
    if (!anyDigit) return std::string(text);

    double value = 0.0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != number.data() + number.size()) return std::string(text);
    return formatDecimals(value, decimals);
}

}  // namespace kalvo
