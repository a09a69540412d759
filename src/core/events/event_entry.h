// One entry of the event list: a name, an "@" and a date part, e.g.
// "関東大震災       @1923/9/1". The date part is a date text (era/date_text.h: Western or
// era dates) or the word TODAY in any letter case; a text without "@" is all date part. Texts are UTF-8; any byte
// sequence is accepted without harm.
#pragma once

#include "core/calendar/date_serial.h"
#include "core/era/date_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

// Entries that begin with blank, blank, ideographic space are the program's own and may
// not be written by the add and update commands.
inline constexpr std::string_view kProtectedPrefix = "  \xE3\x80\x80";
bool isProtectedEntry(std::string_view text);

// The text after the first "@", or the whole text when there is none.
std::string_view entryDatePart(std::string_view text);

// "TODAY" in any mix of ASCII capitals and small letters, nothing around it.
bool isTodayWord(std::string_view datePart);

struct ParsedEntry {
    std::string dateText;        // the date part as written
    std::optional<Serial> date;  // nullopt: neither TODAY nor a valid date
};

// Reads an entry with the era names of `eras`; TODAY stands for `today`.
ParsedEntry parseEntry(std::string_view text, Serial today, const DateEras& eras);

// Whether a line of the event file belongs to the list: it holds an "@", or it is a
// date as a whole under some era table (mayBeDateText): the file is read before its era
// table is in force, and a line that is a date under that table must not be lost.
bool isEntryLine(std::string_view line);

}  // namespace kalvo
