// Date texts as people write them, in UTF-8:
//   Western  2003/9/14, 2003-09-14, 2003.9.14, 1990・4・1, 2003年9月14日
//   era      平成15年9月14日, 令和元年5月1日, 平成15/9/14, H15/9/14, h15.9.14, H元年1月8日
// with ASCII or full-width digits and separators, blanks (also the ideographic space)
// around every part, and an optional weekday in brackets at the end that must be the
// date's own: 2003/9/14(日), （日曜）, (日曜日). The letters M, T, S, H and R (either case,
// ASCII or full-width) stand for 明治, 大正, 昭和, 平成 and 令和.
//
// An era year counts Western years from the era's first day (year 1 runs to the end of
// that Western year), exactly as the window shows a date's era year, and the date must
// lie in its era: from its first day to the day before the next era's first day. So every
// date the window shows as an era name, era year, month and day reads back as that date.
#pragma once

#include "core/era/era_table.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// The era names a date text may use, each with the days it covers: every row of the
// table in force, and the built-in eras from 明治 on under the names that table lacks.
// The table in force decides wherever it has the name, so that a court table's 明治
// (from its old-calendar change day) is the 明治 its window shows.
class DateEras {
public:
    // The built-in table in force.
    DateEras();
    // `rowsInForce` newest first, as the table in force holds them.
    explicit DateEras(std::span<const EraRow> rowsInForce);

    struct Span {
        Serial start = 0;  // the era's first day
        Serial end = 0;    // the first day that is no longer the era's (past the range for the newest)
        int startYear = 0;
    };
    // The spans of the rows named `name`, oldest row first; empty for an unknown name.
    std::span<const Span> spansOf(std::string_view name) const;

    using Named = std::pair<std::string, Span>;

private:
    std::vector<std::string> names_;  // sorted
    std::vector<Span> spans_;         // beside their names
};

// What a date text says, before any era table is asked.
struct DateTextForm {
    std::string_view era;  // the era's name (a letter gives its name); empty for a Western year
    int year = 0;          // the Western year, or the era year (1 for 元)
    int month = 0;
    int day = 0;
    int weekday = 0;  // 1 (日) .. 7 (土) when a weekday in brackets follows, else 0
};
std::optional<DateTextForm> readDateTextForm(std::string_view text);

// The date a text names under the given eras; nullopt when it names none: no date form,
// not a calendar day of 0100-01-01..9999-12-31, an unknown era, a day outside its era,
// a weekday that is not the date's, or an era name whose rows give different days.
std::optional<Serial> parseDateText(std::string_view text, const DateEras& eras);

// Whether the text names a date under some era table: a Western date, or an era date
// with an era year from 1 and a month and day that a year has, under a name written in
// kanji or a letter. The event file's lines are sorted with it before an era table is in
// force, so no line that is a date under the table the file names is dropped.
bool mayBeDateText(std::string_view text);

// An era date as the window shows it, "平成15年9月14日" ("元年" for year 1), for the table
// `rows` (newest first); empty when no era of the table applies or it shows no year.
std::string eraDateText(std::span<const EraRow> rows, Serial date);

}  // namespace kalvo
