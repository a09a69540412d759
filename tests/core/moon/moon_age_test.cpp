#include "core/moon/moon_age.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace kalvo {
namespace {

// ---- moon age -----------------------------------------------------------------------

TEST(MoonAge, TableOfDates) {
    struct Row {
        Ymd date;
        long serial;
        float age;
    };
    const Row rows[] = {
        {{1899, 12, 30}, 0, 27.437389f},   {{1899, 12, 29}, -1, 26.437389f},      {{1900, 1, 1}, 2, 29.437389f},
        {{1900, 1, 2}, 3, 0.906801f},      {{1997, 10, 16}, 35719, 14.424700f},   {{2000, 1, 7}, 36532, 0.568208f},
        {{100, 1, 1}, -657434, 3.409708f}, {{9999, 12, 31}, 2958465, 29.439604f},
    };
    for (const Row& r : rows) {
        const Serial s = fromYmd(r.date.year, r.date.month, r.date.day);
        SCOPED_TRACE(toText(s));
        ASSERT_EQ(s, static_cast<Serial>(r.serial));
        EXPECT_FLOAT_EQ(moonAgeOf(s), r.age);
    }
}

TEST(MoonAge, SameAgeWholeCyclesApartIncludingNegativeSerials) {
    const Serial starts[] = {35719, 36532, 3, -1, -657434 + 10};
    const long cycles[] = {1, 7, -1, -1200, -20000, 1200, 50000};
    for (Serial start : starts) {
        for (long k : cycles) {
            const Serial other = start + static_cast<double>(k) * kSynodicMonth;
            SCOPED_TRACE(std::to_string(start) + " + " + std::to_string(k) + " cycles");
            EXPECT_NEAR(moonAgeOf(other), moonAgeOf(start), 1e-4);
        }
    }
}

TEST(MoonAge, AlwaysWithinOneCycleAndOneDayPerDay) {
    for (long s = kMinSerial; s < kMaxSerial; s += 997) {
        const float age = moonAgeOf(static_cast<Serial>(s));
        ASSERT_GE(age, 0.0f) << s;
        ASSERT_LE(age, static_cast<float>(kSynodicMonth)) << s;
        const double step = moonAgeOf(static_cast<Serial>(s + 1)) - age;
        // One day later the age is one day more, or it wrapped past a new moon.
        const double expected = step < 0 ? 1.0 - kSynodicMonth : 1.0;
        ASSERT_NEAR(step, expected, 1e-4) << s;
    }
}

TEST(MoonAge, NewMoonJustAfterSerialZero) {
    // The first new moon of the model after serial 0 lies at serial 2.0931990.
    EXPECT_GT(moonAgeOf(2.0931990 - 1e-5), 29.5f);
    EXPECT_LT(moonAgeOf(2.0931990 + 1e-5), 0.001f);
}

// ---- phase figure --------------------------------------------------------------------

TEST(PhaseFigure, EdgeCases) {
    struct Row {
        float age;
        MoonHalf half;
        MoonShade shade;
        double semiAxis;
        double tolerance;
    };
    const Row rows[] = {
        {14.424700f, MoonHalf::Right, MoonShade::Lit, 149.6, 0.05},
        {0.568208f, MoonHalf::Right, MoonShade::Dark, 148.9, 0.05},
        {27.437389f, MoonHalf::Left, MoonShade::Dark, 135.4, 0.05},
        {22.1f, MoonHalf::Left, MoonShade::Lit, 1.53, 0.005},
        {22.2f, MoonHalf::Left, MoonShade::Dark, 1.66, 0.005},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.age);
        const PhaseFigure f = phaseFigure(r.age);
        EXPECT_EQ(f.litHalf, r.half);
        EXPECT_EQ(f.ellipseShade, r.shade);
        EXPECT_NEAR(f.ellipseSemiAxis, r.semiAxis, r.tolerance);
    }
}

TEST(PhaseFigure, NewFullAndQuarters) {
    const double s = kSynodicMonth;
    EXPECT_NEAR(litShare(phaseFigure(0.0f)), 0.0, 1e-6);  // the dark ellipse covers the disc
    EXPECT_NEAR(litShare(phaseFigure(static_cast<float>(s / 2))), 1.0, 1e-6);
    EXPECT_NEAR(litShare(phaseFigure(static_cast<float>(s / 4))), 0.5, 1e-6);
    EXPECT_NEAR(litShare(phaseFigure(static_cast<float>(s * 3 / 4))), 0.5, 1e-6);
    EXPECT_NEAR(litShare(phaseFigure(std::nextafter(static_cast<float>(s), 0.0f))), 0.0, 1e-4);
}

// Ages on either side of each quarter and of its single-precision value: the figure is
// always finite, the ellipse never wider than the disc, and the lit share moves smoothly.
TEST(PhaseFigure, AroundTheQuarters) {
    for (double q : {kSynodicMonth / 4, kSynodicMonth / 2, kSynodicMonth * 3 / 4}) {
        float age = std::nextafter(static_cast<float>(q), 0.0f);
        age = std::nextafter(age, 0.0f);
        for (int i = 0; i < 5; ++i, age = std::nextafter(age, 100.0f)) {
            SCOPED_TRACE(age);
            const PhaseFigure f = phaseFigure(age);
            ASSERT_TRUE(std::isfinite(f.ellipseSemiAxis));
            EXPECT_GE(f.ellipseSemiAxis, 0.0);
            EXPECT_LE(f.ellipseSemiAxis, kMoonRadius);
            EXPECT_NEAR(litShare(f), litShare(phaseFigure(static_cast<float>(q))), 1e-4);
        }
    }
}

// ---- number formats ------------------------------------------------------------------

TEST(FormatDecimals, TwoDecimals) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {14.4247f, "14.42"},
        {0.9068f, ".91"},
        {3.4f, "3.4"},
        {12.0, "12."},
        {0.0, "."},
        {0.004, "."},
        {0.004999, "."},
        {0.005, ".01"},
        {17.125, "17.13"},
        {17.115, "17.12"},
        {29.995, "30."},
        {99.995, "100."},
        {9.999, "10."},
        {0.1, ".1"},
        {-1.234, "-1.23"},
        {-0.001, "."},
        {-0.005, "-.01"},
        {1e20, "100000000000000000000."},
        {123456789.125, "123456789.13"},  // the 15 significant digits keep the last 5
        {1e-45, "."},
        {-0.0, "."},
    };
    for (const Row& r : rows) EXPECT_EQ(formatDecimals(r.value, 2), r.text) << r.value;
}

TEST(FormatDecimals, OneDecimalAndCaptionText) {
    EXPECT_EQ(formatDecimals(14.42, 1), "14.4");
    EXPECT_EQ(formatDecimals(0.91, 1), ".9");
    EXPECT_EQ(formatDecimals(0.04, 1), ".");
    EXPECT_EQ(formatDecimals(29.96, 1), "30.");

    struct Row {
        const char* caption;
        const char* text;
    };
    const Row rows[] = {
        {".91", ".9"},
        {"14.42", "14.4"},
        {"24.15", "24.2"},
        {"12.", "12."},
        {"3.4", "3.4"},
        {".05", ".1"},
        {".04", "."},
        {"-.05", "-.1"},
        {" 3.45 ", "3.5"},
        {"+2.25", "2.3"},
        // Not a plain number: kept as it is.
        {".", "."},
        {"", ""},
        {"abc", "abc"},
        {"1.2.3", "1.2.3"},
        {"inf", "inf"},
        {"nan", "nan"},
        {"1e5", "1e5"},
        {"-", "-"},
    };
    for (const Row& r : rows) EXPECT_EQ(formatDecimalText(r.caption, 1), r.text) << r.caption;
    // The caption is rounded as written, not as the nearest binary value (24.149999...).
    EXPECT_EQ(formatDecimals(24.15f, 1), "24.1");
}

TEST(FormatDecimals, NonFiniteAndHuge) {
    EXPECT_EQ(formatDecimals(std::numeric_limits<double>::quiet_NaN(), 2), "nan");
    EXPECT_EQ(formatDecimals(std::numeric_limits<double>::infinity(), 2), "inf");
    EXPECT_EQ(formatDecimals(-std::numeric_limits<double>::infinity(), 2), "-inf");
    const std::string big = formatDecimals(std::numeric_limits<float>::max(), 2);
    EXPECT_EQ(big, "340282346638529000000000000000000000000.");
    EXPECT_EQ(formatDecimals(std::numeric_limits<double>::max(), 2).size(), 310u);
    EXPECT_EQ(formatDecimals(0.5, -3), "1.");  // fewer than no decimals is none
}

// Every float bit pattern along a wide stride: the text is well-formed and reads back
// as the value rounded to the decimals, within the 15 digits it was rounded from.
TEST(FormatDecimals, AnyFloatReadsBackRounded) {
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65537) {
        const auto pattern = static_cast<std::uint32_t>(bits);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value)) continue;
        for (int decimals : {1, 2}) {
            const std::string text = formatDecimals(value, decimals);
            ASSERT_EQ(std::count(text.begin(), text.end(), '.'), 1) << text;
            const std::size_t point = text.find('.');
            ASSERT_LE(text.size() - point - 1, static_cast<std::size_t>(decimals)) << text;
            ASSERT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
            const double back = text == "." || text == "-." ? 0.0 : std::strtod(text.c_str(), nullptr);
            const double unit = std::pow(10.0, -decimals);
            ASSERT_LE(std::fabs(back - value), unit / 2 + std::fabs(value) * 1e-14) << value << " -> " << text;
            ASSERT_EQ(formatDecimalText(text, decimals), text) << text;  // already rounded
        }
    }
}

}  // namespace
}  // namespace kalvo
