// Scanning of the program's text: blanks, decimal digits and line ends, as every reader
// of dates, era files and the event file sees them. Works on bytes of UTF-8 text (and on
// code page 932 bytes where only ASCII matters: no byte below 0x40 is ever the second
// byte of a code page 932 character).
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// Which characters count as blanks.
enum class Blanks {
    Spaces,       // the space alone
    Ascii,        // space and tab
    Ideographic,  // space, tab and the ideographic space U+3000
};

// The length in bytes of the blank that starts at pos, 0 when none does.
std::size_t blankAt(std::string_view text, std::size_t pos, Blanks blanks = Blanks::Ascii);
// Moves pos past the blanks that start there.
void skipBlanks(std::string_view text, std::size_t& pos, Blanks blanks = Blanks::Ascii);
// The text without the blanks at either end.
std::string_view trimBlanks(std::string_view text, Blanks blanks = Blanks::Ascii);

// How a run of decimal digits may look.
struct DecimalRule {
    int maxDigits = std::numeric_limits<int>::max();             // a longer run fails (leading zeros count)
    long long maxValue = std::numeric_limits<long long>::max();  // a larger value fails
    bool fullWidth = false;                                      // the full-width digits U+FF10..U+FF19 count too
};

// The length in bytes of the decimal digit that starts at pos (with `fullWidth`, the
// full-width digits U+FF10..U+FF19 count too); 0 when none does.
std::size_t digitAt(std::string_view text, std::size_t pos, bool fullWidth = false);

// Reads the run of decimal digits that starts at pos and moves pos past it; nullopt when
// no digit stands there or the run breaks the rule (pos then lies somewhere in the run).
std::optional<long long> readDecimal(std::string_view text, std::size_t& pos, const DecimalRule& rule = {});

// Splits raw bytes into lines; a final line without an end counts. Which bytes end a line:
//  - a file without a single LF: CR (as old Mac editors write them);
//  - a file whose LFs all have a CR before them, or none has: CR LF or LF, and a lone CR
//    is part of the line (text pasted from elsewhere);
//  - a file with both CR LF and bare LF ends (edited on several systems): CR LF, LF and
//    a lone CR alike, so no line is run into the next one.
std::vector<std::string> splitLines(std::string_view bytes);
// The same lines as views into `bytes`.
std::vector<std::string_view> splitLineViews(std::string_view bytes);

// ---- the scanner's small steps, defined here so that every reader's loop inlines them ----

namespace detail {

inline constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000

// The digit that starts at pos and its length in bytes; width 0 when none does.
struct Digit {
    int value = -1;
    std::size_t width = 0;
};

inline Digit digitValueAt(std::string_view t, std::size_t pos, bool fullWidth) {
    if (pos >= t.size()) return {};
    const unsigned char c = static_cast<unsigned char>(t[pos]);
    if (c >= '0' && c <= '9') return {c - '0', 1};
    // U+FF10..U+FF19 are EF BC 90..99 in UTF-8.
    if (fullWidth && c == 0xEF && pos + 2 < t.size() && static_cast<unsigned char>(t[pos + 1]) == 0xBC) {
        const unsigned char c3 = static_cast<unsigned char>(t[pos + 2]);
        if (c3 >= 0x90 && c3 <= 0x99) return {c3 - 0x90, 3};
    }
    return {};
}

}  // namespace detail

inline std::size_t blankAt(std::string_view text, std::size_t pos, Blanks blanks) {
    if (pos >= text.size()) return 0;
    if (text[pos] == ' ') return 1;
    if (blanks == Blanks::Spaces) return 0;
    if (text[pos] == '\t') return 1;
    if (blanks == Blanks::Ideographic && text.substr(pos).starts_with(detail::kIdeographicSpace))
        return detail::kIdeographicSpace.size();
    return 0;
}

inline void skipBlanks(std::string_view text, std::size_t& pos, Blanks blanks) {
    while (const std::size_t n = blankAt(text, pos, blanks)) pos += n;
}

inline std::size_t digitAt(std::string_view text, std::size_t pos, bool fullWidth) {
    return detail::digitValueAt(text, pos, fullWidth).width;
}

inline std::optional<long long> readDecimal(std::string_view text, std::size_t& pos, const DecimalRule& rule) {
    long long value = 0;
    int digits = 0;
    for (;;) {
        const detail::Digit d = detail::digitValueAt(text, pos, rule.fullWidth);
        if (d.width == 0) break;
        pos += d.width;
        if (++digits > rule.maxDigits) return std::nullopt;
        if (__builtin_mul_overflow(value, 10, &value) || __builtin_add_overflow(value, d.value, &value) ||
            value > rule.maxValue)
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

}  // namespace kalvo
