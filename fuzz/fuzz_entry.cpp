// The parser of an event entry (name, "@", date part) on any text.
#include "support.h"

#include "events/event_entry.h"

#include <cstdint>

namespace {

using namespace kalvo;

const Serial kToday = fromYmd(2026, 12, 7);

void check(std::string_view text) {
    const ParsedEntry entry = parseEntry(text, kToday);
    const std::string_view part = entryDatePart(text);
    FUZZ_CHECK(entry.dateText == part);
    FUZZ_CHECK(part.size() <= text.size());
    if (isTodayWord(part)) {
        FUZZ_CHECK(entry.date == kToday);
    } else if (entry.date) {
        FUZZ_CHECK(inRange(*entry.date));
        FUZZ_CHECK(parseDate(toText(*entry.date)) == entry.date);
    }
    // A line with an "@" is always kept in the list; one without, only when it is a date.
    if (text.find('@') != std::string_view::npos) FUZZ_CHECK(isEntryLine(text));
    else FUZZ_CHECK(isEntryLine(text) == (entry.date.has_value() && !isTodayWord(text)));
    FUZZ_CHECK(isProtectedEntry(text) == (text.substr(0, kProtectedPrefix.size()) == kProtectedPrefix));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::checkBothReadings(data, size, [](std::string_view text) { check(text); });
}
