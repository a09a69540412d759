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

}  // namespace kalvo
