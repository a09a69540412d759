// The era file reader on any bytes, as they come and decoded from code page 932. A table
// that is taken must be one the conversion can rely on, and the prepared era search must
// agree with the row search around every change day of it; a refusal must name a line of
// the file and say what is wrong.
#include "support.h"

#include "core/era/era_file.h"
#include "core/era/era_table.h"

#include <cmath>
#include <cstdint>

namespace {

using namespace kalvo;

void check(const EraFileResult& result, int lineCount) {
    if (!result.ok()) {
        FUZZ_CHECK(result.rows.empty());
        FUZZ_CHECK(!result.error->description.empty());
        FUZZ_CHECK(result.error->line >= 1 && result.error->line <= std::max(1, lineCount));
        return;
    }
    const auto& rows = result.rows;
    FUZZ_CHECK(!rows.empty() && rows.size() <= static_cast<size_t>(kMaxEras));
    std::vector<Serial> starts;
    for (const auto& row : rows) {
        FUZZ_CHECK(row.reading != kEndMark);
        FUZZ_CHECK(inRange(row.start) && row.start == std::floor(row.start));
        if (!starts.empty()) FUZZ_CHECK(row.start < starts.back());
        starts.push_back(row.start);
    }
    const EraLookup lookup(starts);
    for (const Serial start : starts) {
        for (const Serial date : {start - 1, start, start + 1}) {
            const int row = findEra(starts, date);
            FUZZ_CHECK(row >= 1 && row <= static_cast<int>(starts.size()) + 1);
            const auto found = lookup.find(date);
            FUZZ_CHECK(found.row == row);
            if (row <= static_cast<int>(starts.size()))
                FUZZ_CHECK(found.eraYear == eraYearOf(date, starts[static_cast<size_t>(row - 1)]));
        }
    }
}

bool sameRows(const EraFileResult& a, const EraFileResult& b) {
    if (a.rows.size() != b.rows.size()) return false;
    for (size_t i = 0; i < a.rows.size(); ++i) {
        if (a.rows[i].reading != b.rows[i].reading || a.rows[i].name != b.rows[i].name ||
            a.rows[i].start != b.rows[i].start)
            return false;
    }
    return true;
}

// The lines as UTF-8 text, and the whole text as one.
void check(std::string_view text) {
    const auto lines = splitLines(text);
    check(readEraLines(lines), static_cast<int>(lines.size()));
    check(readEraText(text), static_cast<int>(lines.size()));
}

// The bytes as the program reads them from a file, decoded field by field. When the
// whole file is code page 932, that reading is the reading of its decoded text.
void checkBytes(std::string_view bytes) {
    const auto lines = splitLines(bytes);
    const EraFileResult fromBytes = readEraBytes(bytes);
    check(fromBytes, static_cast<int>(lines.size()));
    if (const auto text = fuzz::fromCp932(bytes)) {
        const EraFileResult fromText = readEraLines(splitLines(*text));
        FUZZ_CHECK(fromBytes.ok() == fromText.ok());
        FUZZ_CHECK(sameRows(fromBytes, fromText));
        if (!fromBytes.ok()) FUZZ_CHECK(fromBytes.error->line == fromText.error->line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    return fuzz::checkBothReadings(data, size, [](std::string_view text) { check(text); });
}
