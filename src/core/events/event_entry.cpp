#include "core/events/event_entry.h"

namespace kalvo {

bool isProtectedEntry(std::string_view text) { return text.substr(0, kProtectedPrefix.size()) == kProtectedPrefix; }

std::string_view entryDatePart(std::string_view text) {
    const size_t at = text.find('@');
    return at == std::string_view::npos ? text : text.substr(at + 1);
}

bool isTodayWord(std::string_view datePart) {
    constexpr std::string_view word = "TODAY";
    if (datePart.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        char c = datePart[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

ParsedEntry parseEntry(std::string_view text, Serial today, const DateEras& eras) {
    ParsedEntry result;
    const std::string_view part = entryDatePart(text);
    result.dateText.assign(part);
    if (isTodayWord(part)) result.date = today;
    else result.date = parseDateText(part, eras);
    return result;
}

bool isEntryLine(std::string_view line) { return line.find('@') != std::string_view::npos || mayBeDateText(line); }

}  // namespace kalvo
