#include "core/text/text_scan.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

constexpr const char* kIdeographic = "\xE3\x80\x80";

// Each kind of blank skipping takes what it names and stops at the first other character.
TEST(TextScan, BlanksOfEachKind) {
    const std::string text = std::string(" \t") + kIdeographic + " x";
    const struct {
        Blanks blanks;
        size_t end;
    } cases[] = {{Blanks::Spaces, 1}, {Blanks::Ascii, 2}, {Blanks::Ideographic, 6}};
    for (const auto& c : cases) {
        size_t pos = 0;
        skipBlanks(text, pos, c.blanks);
        EXPECT_EQ(pos, c.end) << static_cast<int>(c.blanks);
    }
    size_t pos = text.size();
    skipBlanks(text, pos, Blanks::Ideographic);
    EXPECT_EQ(pos, text.size());
    EXPECT_EQ(blankAt("\xE3\x80", 0, Blanks::Ideographic), 0u);  // a cut-off U+3000
}

TEST(TextScan, TrimmingKeepsInnerBlanks) {
    const std::string wide = std::string(kIdeographic) + " a b\t" + kIdeographic;
    const struct {
        std::string text;
        Blanks blanks;
        std::string trimmed;
    } cases[] = {
        {"  a b  ", Blanks::Spaces, "a b"},
        {"\t a \t", Blanks::Spaces, "\t a \t"},
        {"\t a \t", Blanks::Ascii, "a"},
        {wide, Blanks::Ascii, wide},
        {wide, Blanks::Ideographic, "a b"},
        {" \t ", Blanks::Ascii, ""},
        {"", Blanks::Ideographic, ""},
        {std::string("x") + kIdeographic + "\xE3\x80", Blanks::Ideographic,
         std::string("x") + kIdeographic + "\xE3\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(trimBlanks(c.text, c.blanks), c.trimmed) << c.text;
}

TEST(TextScan, DecimalRunsWithinTheirRule) {
    const struct {
        const char* text;
        DecimalRule rule;
        std::optional<long long> value;
        size_t end;  // where pos stands after a success
    } cases[] = {
        {"2003/9", {}, 2003, 4},
        {"0009x", {.maxDigits = 4}, 9, 4},
        {"12345", {.maxDigits = 4}, std::nullopt, 0},
        {"x1", {}, std::nullopt, 0},
        {"", {}, std::nullopt, 0},
        {"\xEF\xBC\x92\xEF\xBC\x90"
         "0",
         {.fullWidth = true},
         200,
         7},                                    // full-width 2 and 0, then 0
        {"\xEF\xBC\x92", {}, std::nullopt, 0},  // full-width only when asked
        {"2147483648", {.maxValue = 2147483648LL}, 2147483648LL, 10},
        {"2147483649", {.maxValue = 2147483648LL}, std::nullopt, 0},
        {"00000000000000000000001", {.maxValue = 10}, 1, 23},  // leading zeros cost nothing
        {"99999999999999999999", {}, std::nullopt, 0},         // past long long
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        size_t pos = 0;
        EXPECT_EQ(readDecimal(c.text, pos, c.rule), c.value);
        if (c.value) EXPECT_EQ(pos, c.end);
    }
}

// Which bytes end a line depends on the ends the whole file uses.
TEST(TextScan, LineEndsOfConsistentAndMixedFiles) {
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},            // no LF anywhere: CR ends lines
        {"a\rx\r\nb\r\n", {"a\rx", "b"}},  // pasted CR in a CR LF file stays
        {"a\rx\nb\n", {"a\rx", "b"}},      // ... and in an LF file
        {"h\r\nV\n0,0\r 0 \r\nT\r0\n'\r\ne\r", {"h", "V", "0,0", " 0 ", "T", "0", "'", "e"}},  // mixed
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {"", {}},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(splitLines(bytes), expected) << bytes;
}

}  // namespace
}  // namespace kalvo
