// The date text parser (parseDate) and the era file's first-day reader on any text: a
// date that is taken lies in 0100-01-01..9999-12-31, is a whole day, and its written
// form reads back as the same day.
#include "support.h"

#include "calendar/date_serial.h"
#include "era/era_file.h"

#include <cmath>
#include <cstdint>

namespace {

using namespace kalvo;

void check(std::string_view text) {
    const auto date = parseDate(text);
    if (date) {
        FUZZ_CHECK(inRange(*date) && *date == std::floor(*date));
        FUZZ_CHECK(parseDate(toText(*date)) == date);
        const Ymd ymd = toYmd(*date);
        FUZZ_CHECK(makeDate(ymd.year, ymd.month, ymd.day) == date);
        FUZZ_CHECK(yearOf(*date) == ymd.year);
    }
    const auto eraDay = parseEraDay(text);
    if (date) FUZZ_CHECK(eraDay == date);
    if (eraDay) FUZZ_CHECK(inRange(*eraDay) && *eraDay == std::floor(*eraDay));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::checkBothReadings(data, size, [](std::string_view text) { check(text); });
}
