// The event file reader on any bytes, as they come (any byte is accepted) and, when they
// are code page 932, decoded as the program reads them. Whatever was read whole must come
// back the same through the writer: the save at exit loses no entry and no setting.
#include "support.h"

#include "core/events/event_entry.h"
#include "core/events/event_file.h"
#include "core/text/cp932.h"

#include <cstdint>

namespace {

using namespace kalvo;

// The writer keeps every line on its own line: an LF inside a text becomes a blank; a lone
// CR stays, as the file it writes ends every line with CR LF.
std::string asWritten(std::string text) {
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line + "\r\n";
    return bytes;
}

void check(const std::vector<std::string>& lines) {
    const EventFileRead read = readEventLines(lines);
    const EventFile& f = read.file;
    if (read.error == EventFileError::None) FUZZ_CHECK(read.reach == ReadReach::Everything);
    if (read.error == EventFileError::BadVersion) FUZZ_CHECK(read.reach == ReadReach::Nothing);
    if (read.error != EventFileError::None && read.error != EventFileError::BadVersion) {
        FUZZ_CHECK(errorNumber(read.error) > 0);
        FUZZ_CHECK(!errorDescription(read.error).empty());
    }
    if (read.reach != ReadReach::Everything) {
        FUZZ_CHECK(f.entries.empty());
        return;
    }
    FUZZ_CHECK(f.sizeMode >= 0 && f.sizeMode <= 4);
    FUZZ_CHECK(f.eraTable >= 0 && f.eraTable <= 2);

    // Every entry line is kept, in order; nothing else is.
    size_t next = 0;
    for (size_t i = 7; i < lines.size(); ++i) {
        if (!isEntryLine(lines[i])) continue;
        FUZZ_CHECK(next < f.entries.size() && f.entries[next] == lines[i]);
        ++next;
    }
    FUZZ_CHECK(next == f.entries.size());

    // Written and read again: the same file.
    const auto written = writeEventLines(f);
    for (const auto& line : written) FUZZ_CHECK(line.find('\n') == std::string::npos);
    FUZZ_CHECK(splitLines(joined(written)) == written);  // no line runs into another
    const EventFileRead again = readEventLines(written);
    FUZZ_CHECK(again.error == EventFileError::None);
    const EventFile& g = again.file;
    FUZZ_CHECK(g.header == asWritten(f.header));
    FUZZ_CHECK(g.version == asWritten(f.version));
    FUZZ_CHECK(g.top == f.top.value_or(0.0f) && g.left == f.left.value_or(0.0f));
    FUZZ_CHECK(g.sizeMode == f.sizeMode && g.eraTable == f.eraTable && g.flags == f.flags);
    FUZZ_CHECK(g.startDate == asWritten(f.startDate) && g.startEntry == asWritten(f.startEntry));
    FUZZ_CHECK(g.comment == asWritten(f.comment));
    FUZZ_CHECK(g.entries.size() == f.entries.size());
    for (size_t i = 0; i < f.entries.size() && i < g.entries.size(); ++i)
        FUZZ_CHECK(g.entries[i] == asWritten(f.entries[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(splitLines(bytes));
    if (const auto text = fuzz::fromCp932(bytes)) check(splitLines(*text));
    // The table a long file is decoded with agrees with iconv.
    std::string byTable, byIconv;
    const bool tableOk = cp932ToUtf8ByTable(bytes, byTable);
    FUZZ_CHECK(tableOk == cp932ToUtf8(std::string(bytes), byIconv) && (!tableOk || byTable == byIconv));
    // Lines written back unchanged keep the bytes they were read from.
    const DecodedLines decoded = decodeCp932Lines(bytes);
    if (decoded.badLine == 0) FUZZ_CHECK(encodeCp932LinesKeeping(decoded.lines, bytes) == joined(splitLines(bytes)));
    return 0;
}
