// The era table: rows of reading, name and first day, newest first. Holds the
// built-in table and the rules shared by every table: which row a date falls in,
// its era year, and how the era year is written.
#pragma once

#include "core/calendar/date_serial.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

struct EraRow {
    std::string reading;  // hiragana, shown as the hint of the era combo box
    std::string name;     // listed in the era combo boxes
    Serial start = 0;     // first day of the era; that day belongs to it
};

// A row of the built-in table with the Western date its serial stands for.
struct BuiltInEra {
    const char* reading;
    const char* name;
    Ymd firstDay;
    Serial start;
};

// The built-in table: 41 eras from 令和 down to 慶長, newest first.
std::span<const BuiltInEra> builtInEras();
// The row after the oldest era: reading and name "#". Never listed or searched; its
// reading is the hint when no era applies.
const BuiltInEra& builtInEndRow();
// The built-in table as the rows a table in force holds.
std::vector<EraRow> builtInEraRows();

// The name of rows that stand for a period without an era; they show no era year.
inline constexpr std::string_view kNoEraName = "(なし)";
// Reading and name of the end row.
inline constexpr std::string_view kEndMark = "#";

// The 1-based row of the first start, counted from the newest, that is on or before
// the date. starts.size()+1 when the date lies before every start; 0 for no rows.
int findEra(std::span<const Serial> starts, Serial date);

// Western year of the date minus that of the era's first day, plus 1: year 1 runs to
// the end of the first day's Western year.
int eraYearOf(Serial date, Serial eraStart);

// findEra and eraYearOf for one table, prepared once when the table is put in force.
// For a table that is strictly newest first (every table the program loads is) it keeps,
// for each Western year, the newest row that has begun by the end of that year: the date's
// year leads straight to its row, or to a row or two above it when eras change within
// that year. Any other table is searched row by row. The rows are those of findEra in
// every case.
class EraLookup {
public:
    EraLookup() = default;
    explicit EraLookup(std::span<const Serial> starts);

    struct Found {
        int row = 0;      // as findEra
        int eraYear = 0;  // as eraYearOf with the row's start; 0 when row is no era row
    };
    Found find(Serial date) const;
    int rows() const { return static_cast<int>(starts_.size()); }

private:
    std::vector<Serial> starts_;
    std::vector<int> startYears_;
    bool newestFirst_ = true;
    int firstYear_ = 0;                // Western year of the oldest start
    std::vector<unsigned> rowByYear_;  // index of the newest row begun by the end of the year
};

// "元" for year 1, plain digits otherwise; empty when no era was found (row 0) or the
// row stands for a period without an era.
std::string eraYearText(int row, int eraYear, std::string_view name);

}  // namespace kalvo
