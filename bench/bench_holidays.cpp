// Business days over long spans: the count between two dates a thousand years apart (the
// span row's tooltip), with the calendar's years already worked out as they are after the
// first count, and from a new calendar that must work them out first; the 100th business
// day after a date; and the holiday of one date (a date control's tooltip).
#include "figures.h"

#include "core/holidays/business_days.h"
#include "holiday_test_support.h"

#include <cstdio>

namespace {

using namespace kalvo::holidays;

constexpr int kPairs = 64;
constexpr double kTargetNs = 10'000;

std::optional<EquinoxDays> equinoxes(int year) {
    if (auto p = testing::publishedEquinoxes(year)) return p;
    return EquinoxDays{20, 23};
}

// kPairs spans of 1000 years and a few days, starting on different days of 1500..1563.
Day startOf(int i) { return dayOf(1500 + i, 1 + static_cast<unsigned>(i % 12), 1 + static_cast<unsigned>(i % 28)); }
Day endOf(int i) { return startOf(i) + 365'243 + i * 3; }

void BM_CountThousandYears(benchmark::State& state) {
    const HolidayCalendar calendar(equinoxes);
    const BusinessDays days(calendar);
    benchmark::DoNotOptimize(days.count(dateOf(startOf(0)), dateOf(endOf(kPairs)), false, BusinessRule::Business));
    for (auto _ : state) {
        long sum = 0;
        for (int i = 0; i < kPairs; ++i) {
            sum += days.count(dateOf(startOf(i)), dateOf(endOf(i)), i % 2 == 0,
                              i % 4 < 2 ? BusinessRule::Business : BusinessRule::CivilService);
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, kPairs);
}

void BM_CountThousandYearsFirstTime(benchmark::State& state) {
    for (auto _ : state) {
        const HolidayCalendar calendar(equinoxes);
        const BusinessDays days(calendar);
        benchmark::DoNotOptimize(days.count(dateOf(startOf(0)), dateOf(endOf(0)), false, BusinessRule::Business));
    }
    kalvo::bench::countItems(state, 1);
}

void BM_HundredthBusinessDay(benchmark::State& state) {
    const HolidayCalendar calendar(equinoxes);
    const BusinessDays days(calendar);
    for (auto _ : state) {
        long sum = 0;
        for (int i = 0; i < kPairs; ++i) {
            sum += dayOf(*days.shift(dateOf(endOf(i)), i % 2 ? 100 : -100, BusinessRule::Business));
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, kPairs);
}

void BM_HolidayOn(benchmark::State& state) {
    const HolidayCalendar calendar(equinoxes);
    for (auto _ : state) {
        int found = 0;
        for (Day d = dayOf(2026, 1, 1); d < dayOf(2027, 1, 1); ++d) found += calendar.holidayOn(dateOf(d)).has_value();
        benchmark::DoNotOptimize(found);
    }
    kalvo::bench::countItems(state, 365);
}

BENCHMARK(BM_CountThousandYears);
BENCHMARK(BM_CountThousandYearsFirstTime)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HundredthBusinessDay);
BENCHMARK(BM_HolidayOn);

}  // namespace

int main(int argc, char** argv) {
    const auto ns = kalvo::bench::runAll(argc, argv);
    for (const char* name :
         {"BM_CountThousandYears", "BM_CountThousandYearsFirstTime", "BM_HundredthBusinessDay", "BM_HolidayOn"})
        if (!ns.count(name)) return 1;
    const double count = ns.at("BM_CountThousandYears");
    std::printf(
        "business days between two dates 1000 years apart: %s per count (target <= %s), %s the first time "
        "(the years' holidays worked out); the 100th business day after or before a date %s; the holiday of a "
        "date %s\n",
        kalvo::bench::duration(count).c_str(), kalvo::bench::duration(kTargetNs).c_str(),
        kalvo::bench::duration(ns.at("BM_CountThousandYearsFirstTime")).c_str(),
        kalvo::bench::duration(ns.at("BM_HundredthBusinessDay")).c_str(),
        kalvo::bench::duration(ns.at("BM_HolidayOn")).c_str());
    return count <= kTargetNs ? 0 : 1;
}
