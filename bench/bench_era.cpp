// Era conversion of every day from 1600-01-01 to 2100-12-31: Kalvo's era lookup (era row
// and era year with the built-in table) against ICU's Japanese calendar, and the floor of
// a bare days -> year/month/day conversion, all in the same run.
#include "figures.h"

#include "core/calendar/date_serial.h"
#include "core/era/era_table.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using kalvo::Serial;

const long kFirst = static_cast<long>(kalvo::fromYmd(1600, 1, 1));
const long kLast = static_cast<long>(kalvo::fromYmd(2100, 12, 31));
const long kDays = kLast - kFirst + 1;
constexpr long kUnixEpoch = 25569;  // serial of 1970-01-01

std::vector<Serial> builtInStarts() {
    std::vector<Serial> starts;
    for (const auto& era : kalvo::builtInEras()) starts.push_back(era.start);
    return starts;
}

struct Era {
    int row = 0;
    int year = 0;
};

// What S2NG asks of the core for one date.
Era kalvoEra(const kalvo::EraLookup& lookup, Serial date) {
    const auto found = lookup.find(date);
    return {found.row, found.eraYear};
}

std::unique_ptr<icu::Calendar> japaneseCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone("UTC"), icu::Locale("ja_JP@calendar=japanese"), status));
    if (U_FAILURE(status)) return nullptr;
    return calendar;
}

// Noon UTC of the serial's day, in ICU's milliseconds since 1970.
UDate icuTime(long serial) { return (static_cast<double>(serial - kUnixEpoch) + 0.5) * 86400000.0; }

Era icuEra(icu::Calendar& calendar, long serial) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(icuTime(serial), status);
    const int era = calendar.get(UCAL_ERA, status);
    const int year = calendar.get(UCAL_YEAR, status);
    return {era, year};
}

void BM_KalvoEra(benchmark::State& state) {
    const auto starts = builtInStarts();
    const kalvo::EraLookup lookup(starts);
    for (auto _ : state) {
        long sum = 0;
        for (long d = kFirst; d <= kLast; ++d) {
            const Era e = kalvoEra(lookup, static_cast<Serial>(d));
            sum += e.row * 4096 + e.year;
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, static_cast<double>(kDays));
}

void BM_IcuEra(benchmark::State& state) {
    const auto calendar = japaneseCalendar();
    if (!calendar) {
        state.SkipWithError("ICU has no Japanese calendar");
        return;
    }
    for (auto _ : state) {
        long sum = 0;
        for (long d = kFirst; d <= kLast; ++d) {
            const Era e = icuEra(*calendar, d);
            sum += e.row * 4096 + e.year;
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, static_cast<double>(kDays));
}

// The floor: nothing but the calendar arithmetic from a day count to year, month, day.
void BM_FloorYmd(benchmark::State& state) {
    using namespace std::chrono;
    for (auto _ : state) {
        long sum = 0;
        for (long d = kFirst; d <= kLast; ++d) {
            const year_month_day ymd{sys_days{days{d - kUnixEpoch}}};
            sum += static_cast<int>(ymd.year()) + static_cast<unsigned>(ymd.month()) + static_cast<unsigned>(ymd.day());
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, static_cast<double>(kDays));
}

BENCHMARK(BM_KalvoEra);
BENCHMARK(BM_IcuEra);
BENCHMARK(BM_FloorYmd);

// The two must be doing the same work: from 1873 on (the Gregorian calendar in Japan, so
// both tables give the same change days) every era year agrees and the eras change on
// the same days. Returns the number of days that disagree.
long disagreements() {
    const auto calendar = japaneseCalendar();
    if (!calendar) return -1;
    const auto starts = builtInStarts();
    const kalvo::EraLookup lookup(starts);
    long bad = 0;
    Era kalvoBefore = kalvoEra(lookup, static_cast<Serial>(kalvo::fromYmd(1872, 12, 31)));
    Era icuBefore = icuEra(*calendar, static_cast<long>(kalvo::fromYmd(1872, 12, 31)));
    for (long d = static_cast<long>(kalvo::fromYmd(1873, 1, 1)); d <= kLast; ++d) {
        const Era k = kalvoEra(lookup, static_cast<Serial>(d));
        const Era i = icuEra(*calendar, d);
        if (k.year != i.year || (k.row != kalvoBefore.row) != (i.row != icuBefore.row)) ++bad;
        kalvoBefore = k;
        icuBefore = i;
    }
    return bad;
}

}  // namespace

int main(int argc, char** argv) {
    const long bad = disagreements();
    const auto ns = kalvo::bench::runAll(argc, argv);
    if (!ns.count("BM_KalvoEra") || !ns.count("BM_IcuEra") || !ns.count("BM_FloorYmd")) return 1;
    const double kalvo = ns.at("BM_KalvoEra"), icu = ns.at("BM_IcuEra"), floor = ns.at("BM_FloorYmd");
    std::printf(
        "era conversion, every day 1600-01-01..2100-12-31 (%s days): Kalvo %.1f ns/date, ICU %.1f ns/date: "
        "Kalvo %.1fx ICU's throughput (target >= 20x)\n",
        kalvo::bench::grouped(kDays).c_str(), kalvo, icu, icu / kalvo);
    std::printf(
        "era conversion against the floor (bare days -> y/m/d %.1f ns/date): Kalvo %.2fx the floor (target <= 3x)\n",
        floor, kalvo / floor);
    if (bad != 0) {
        std::printf("era conversion: Kalvo and ICU disagree on %ld days from 1873 on\n", bad);
        return 1;
    }
    return 0;
}
