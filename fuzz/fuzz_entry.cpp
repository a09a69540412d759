// The parser of an event entry (name, "@", date part) on any text.
#include "support.h"

#include "core/events/event_entry.h"

#include <cstdint>

namespace {

using namespace kalvo;

const Serial kToday = fromYmd(2026, 12, 7);
const DateEras kEras;

void check(std::string_view text) {
    const ParsedEntry entry = parseEntry(text, kToday, kEras);
    const std::string_view part = entryDatePart(text);
    FUZZ_CHECK(entry.dateText == part);
    FUZZ_CHECK(part.size() <= text.size());
    if (isTodayWord(part)) {
        FUZZ_CHECK(entry.date == kToday);
    } else if (entry.date) {
        FUZZ_CHECK(inRange(*entry.date));
        FUZZ_CHECK(parseDate(toText(*entry.date)) == entry.date);
        FUZZ_CHECK(parseDateText(toText(*entry.date), kEras) == entry.date);
    }
    // A line with an "@" is always kept in the list; one without, only when it may be a
    // date under some era table: always when it is one under the built-in table, and for
    // a Western date exactly when it is one.
    if (text.find('@') != std::string_view::npos) {
        FUZZ_CHECK(isEntryLine(text));
    } else {
        FUZZ_CHECK(isEntryLine(text) == mayBeDateText(text));
        if (entry.date && !isTodayWord(text)) FUZZ_CHECK(isEntryLine(text));
        const auto form = readDateTextForm(text);
        if (form && form->era.empty()) FUZZ_CHECK(isEntryLine(text) == entry.date.has_value());
        if (!form) FUZZ_CHECK(!isEntryLine(text));
    }
    FUZZ_CHECK(isProtectedEntry(text) == (text.substr(0, kProtectedPrefix.size()) == kProtectedPrefix));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::checkBothReadings(data, size, [](std::string_view text) { check(text); });
}
