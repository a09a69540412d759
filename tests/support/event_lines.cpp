#include "support/event_lines.h"

namespace kalvo {

EventFileRead readEventLines(const std::vector<std::string>& lines) {
    DecodedText text;
    text.lines.assign(lines.begin(), lines.end());
    SharedEntries entries;
    EventFileRead r = readEventText(text, nullptr, entries);
    const auto list = entries.list();
    r.file.entries.assign(list.begin(), list.end());
    return r;
}

std::vector<std::string> writeEventLines(const EventFile& file) {
    std::vector<std::string> lines = leadingLines(file);
    lines.reserve(lines.size() + file.entries.size());
    for (const auto& entry : file.entries) lines.push_back(entryLine(entry));
    return lines;
}

}  // namespace kalvo
