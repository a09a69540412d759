// Reader of the era files: fields separated by commas or line ends, three per era
// (reading, name, first day), newest first, up to a reading of "#". What follows the end
// mark is never read, so notes after it may be in any encoding. A file is taken whole or
// not at all: any broken form gives an error value naming the line and what is wrong.
#pragma once

#include "core/era/era_table.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// The most eras a table can hold (rows 1..255 of the era columns).
inline constexpr int kMaxEras = 255;

enum class EraFileProblem {
    NotADate,        // a first-day field that is not a date
    EraCutShort,     // the last era stops before its third field
    TooManyEras,     // more than kMaxEras eras
    NoEra,           // not one era before the end mark or the end of the file
    NotNewestFirst,  // a first day not strictly earlier than the one above it
    UnclosedQuote,   // a quoted field without its closing quote on the line
    TextAfterQuote,  // something other than blanks between a closing quote and the comma
    BadEncoding,     // a field that is not code page 932 (only from readEraBytes)
};

struct EraFileError {
    EraFileProblem problem = EraFileProblem::NoEra;
    int line = 1;             // 1-based
    std::string description;  // one Japanese sentence
};

struct EraFileResult {
    std::vector<EraRow> rows;  // newest first; empty whenever error is set
    std::optional<EraFileError> error;
    bool ok() const { return !error.has_value(); }
};

// The file's bytes in code page 932, as they lie on disk; each field is decoded when it
// is read, and a field that is not code page 932 is an error of its line.
EraFileResult readEraBytes(std::string_view bytes);
// The same on text already decoded to UTF-8: one string per line, or a whole text, split
// into lines as a file's bytes are (splitLines).
EraFileResult readEraLines(std::span<const std::string> lines);
EraFileResult readEraText(std::string_view text);

// A first-day field as a date serial. Besides every date the date core reads, takes
// y/m/d with a day up to 31 that the Gregorian month lacks (old-calendar 1278/2/29,
// x/2/30, x/4/31) as the first day of the following month: every representable date
// then compares with it as the numbers Y/M/D would.
std::optional<Serial> parseEraDay(std::string_view text);

}  // namespace kalvo
