// The almanac of every day from 1900-01-01 to 2099-12-31 (旧暦 month, leap flag and day, with
// 六曜, 干支 and solar term): Kalvo's engine, first with its tables still empty (one timed
// pass, the new moons and solar terms of 200 years computed on the way) and then warm, against
// ICU's lunisolar calendar on UTC+9 (dangi) giving month, leap flag and day, interleaved.
#include "figures.h"

#include "core/almanac/almanac.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

const int kFirst = kalvo::almanacDayOf(1900, 1, 1);
const int kLast = kalvo::almanacDayOf(2099, 12, 31);
const int kDays = kLast - kFirst + 1;

long kalvoPass() {
    long sum = 0;
    for (int d = kFirst; d <= kLast; ++d) {
        const kalvo::AlmanacDay a = kalvo::almanacOf(d);
        sum += a.lunar.month * 64 + a.lunar.day + (a.lunar.leap ? 4096 : 0) + a.rokuyo + a.dayKanshi + a.term;
    }
    return sum;
}

std::unique_ptr<icu::Calendar> dangi() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icu::TimeZone::createTimeZone("GMT+09:00"),
                                                                          icu::Locale("ko_KR@calendar=dangi"), status));
    if (U_FAILURE(status)) return nullptr;
    return calendar;
}

struct Lunar {
    int month, leap, day;
};

// Noon JST of the day.
Lunar icuLunar(icu::Calendar& c, int day) {
    UErrorCode status = U_ZERO_ERROR;
    c.setTime((static_cast<double>(day) * 86400.0 + 3 * 3600.0) * 1000.0, status);
    return {c.get(UCAL_MONTH, status) + 1, c.get(UCAL_IS_LEAP_MONTH, status), c.get(UCAL_DATE, status)};
}

void BM_KalvoAlmanac(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(kalvoPass());
    kalvo::bench::countItems(state, kDays);
}

void BM_IcuDangi(benchmark::State& state) {
    const auto calendar = dangi();
    if (!calendar) {
        state.SkipWithError("ICU has no dangi calendar");
        return;
    }
    for (auto _ : state) {
        long sum = 0;
        for (int d = kFirst; d <= kLast; ++d) {
            const Lunar l = icuLunar(*calendar, d);
            sum += l.month * 64 + l.day + l.leap * 4096;
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, kDays);
}

BENCHMARK(BM_KalvoAlmanac);
BENCHMARK(BM_IcuDangi);

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(kalvoPass());
    const double cold = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // How often the two calendars agree (Korea's months follow the same rules, on Korea's
    // time and ICU's own astronomy): told, not judged.
    long differ = 0;
    if (const auto calendar = dangi()) {
        for (int d = kFirst; d <= kLast; ++d) {
            const kalvo::AlmanacDay a = kalvo::almanacOf(d);
            const Lunar l = icuLunar(*calendar, d);
            if (a.lunar.month != l.month || a.lunar.leap != (l.leap != 0) || a.lunar.day != l.day) ++differ;
        }
    }

    const auto ns = kalvo::bench::runAll(argc, argv);
    if (!ns.count("BM_KalvoAlmanac") || !ns.count("BM_IcuDangi")) return 1;
    const double kalvo = ns.at("BM_KalvoAlmanac"), icu = ns.at("BM_IcuDangi");
    std::printf("almanac, every day 1900-01-01..2099-12-31 (%s days), tables empty: %.3f s (target < 1 s)\n",
                kalvo::bench::grouped(kDays).c_str(), cold);
    std::printf(
        "almanac, the same days warm: Kalvo %.1f ns/date, ICU dangi (month, leap, day) %.1f ns/date: "
        "Kalvo %.1fx ICU's throughput (target >= 10x); the two differ on %ld days\n",
        kalvo, icu, icu / kalvo, differ);
    return cold < 1.0 && icu / kalvo >= 10.0 ? 0 : 1;
}
