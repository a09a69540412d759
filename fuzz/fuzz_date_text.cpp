// The date text parsers (parseDate for y/m/d, parseDateText for every form, under the
// built-in table and under an old court table) and the era file's first-day reader on
// any text: a date that is taken lies in 0100-01-01..9999-12-31, is a whole day, and its
// y/m/d text and its era text read back as the same day under the same table.
#include "support.h"

#include "core/calendar/date_serial.h"
#include "core/era/date_text.h"
#include "core/era/era_file.h"

#include <cmath>
#include <cstdint>

namespace {

using namespace kalvo;

// Like a court file of an older version: no 令和, and 明治 from its old-calendar change
// day, so that 令和 comes from the built-in table and 明治 from this one.
std::vector<EraRow> courtRows() {
    std::vector<EraRow> rows = builtInEraRows();
    rows.erase(rows.begin());
    for (EraRow& row : rows)
        if (row.name == "明治") row.start = fromYmd(1868, 9, 8);
    return rows;
}

struct Table {
    std::vector<EraRow> rows;
    DateEras eras;
    explicit Table(std::vector<EraRow> r) : rows(std::move(r)), eras(rows) {}
};

const Table& builtIn() {
    static const Table t(builtInEraRows());
    return t;
}
const Table& court() {
    static const Table t(courtRows());
    return t;
}

void checkUnder(std::string_view text, const Table& table, const std::optional<DateTextForm>& form) {
    const auto date = parseDateText(text, table.eras);
    if (!form) FUZZ_CHECK(!date);
    if (!date) return;
    FUZZ_CHECK(inRange(*date) && *date == std::floor(*date));
    FUZZ_CHECK(mayBeDateText(text));
    FUZZ_CHECK(parseDate(toText(*date)) == date);
    FUZZ_CHECK(parseDateText(toText(*date), table.eras) == date);
    const std::string eraText = eraDateText(table.rows, *date);
    if (!eraText.empty()) {
        FUZZ_CHECK(parseDateText(eraText, table.eras) == date);
        static constexpr const char* kWeekdays[] = {"(日)", "(月)", "(火)", "(水)", "(木)", "(金)", "(土)"};
        FUZZ_CHECK(parseDateText(eraText + kWeekdays[weekday(*date) - 1], table.eras) == date);
        FUZZ_CHECK(!parseDateText(eraText + kWeekdays[weekday(*date) % 7], table.eras));
    }
}

void check(std::string_view text) {
    const auto date = parseDate(text);
    if (date) {
        FUZZ_CHECK(inRange(*date) && *date == std::floor(*date));
        FUZZ_CHECK(parseDate(toText(*date)) == date);
        const Ymd ymd = toYmd(*date);
        FUZZ_CHECK(makeDate(ymd.year, ymd.month, ymd.day) == date);
        FUZZ_CHECK(yearOf(*date) == ymd.year);
        // Every text the y/m/d parser takes, the date text parser takes alike.
        FUZZ_CHECK(parseDateText(text, builtIn().eras) == date);
    }
    const auto eraDay = parseEraDay(text);
    if (date) FUZZ_CHECK(eraDay == date);
    if (eraDay) FUZZ_CHECK(inRange(*eraDay) && *eraDay == std::floor(*eraDay));

    const auto form = readDateTextForm(text);
    checkUnder(text, builtIn(), form);
    checkUnder(text, court(), form);
    if (!form) FUZZ_CHECK(!mayBeDateText(text));
    // A Western date needs no era table.
    if (form && form->era.empty()) FUZZ_CHECK(mayBeDateText(text) == parseDateText(text, builtIn().eras).has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::checkBothReadings(data, size, [](std::string_view text) { check(text); });
}
