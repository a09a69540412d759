// The whole redisplay work of one date panel, without the widgets: what setDate, S2NG,
// drwMoon3 and moond2 compute for the focused date (year, month, day and weekday, the
// span to the other panel, the era row and era year, the moon age and its phase figure,
// and every text they show), for every representable date 0100-01-01..9999-12-31. The
// parts are measured on their own too, to show where the time goes.
#include "figures.h"

#include "core/calendar/date_serial.h"
#include "core/calendar/span.h"
#include "core/era/era_table.h"
#include "core/moon/moon_age.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using kalvo::Serial;

constexpr long kDates = kalvo::kMaxSerial - kalvo::kMinSerial + 1;
const Serial kOtherPanel = kalvo::fromYmd(2026, 12, 7);

const char* const kWeekdays[] = {"＊", "日", "月", "火", "水", "木", "金", "土"};

struct Table {
    std::vector<Serial> starts;
    std::vector<std::string> names;
    kalvo::EraLookup lookup;
    Table() {
        for (const auto& era : kalvo::builtInEras()) {
            starts.push_back(era.start);
            names.emplace_back(era.name);
        }
        lookup = kalvo::EraLookup(starts);
    }
};

// Everything the panel, the span row and the moon show for one date.
struct PanelShown {
    std::string year, month, day;
    const char* weekday = nullptr;
    std::string total, years, months, days;
    std::string eraName, eraYear;
    std::string dateLine;
    kalvo::PhaseFigure figure;
    std::string age;
};

void redisplay(const Table& table, Serial date, PanelShown& shown) {
    const kalvo::Ymd d = kalvo::toYmd(date);
    shown.year = std::to_string(d.year);
    shown.month = std::to_string(d.month);
    shown.day = std::to_string(d.day);
    const int wd = kalvo::weekday(date);
    shown.weekday = kWeekdays[wd >= 1 && wd <= 7 ? wd : 0];

    const kalvo::Span span = kalvo::computeSpan(date, kOtherPanel, false);
    shown.total = std::to_string(span.total);
    shown.years = std::to_string(span.years);
    shown.months = std::to_string(span.months);
    shown.days = std::to_string(span.days);

    const auto era = table.lookup.find(date);
    const bool inEra = era.row >= 1 && era.row <= table.lookup.rows();
    shown.eraName = inEra ? table.names[static_cast<size_t>(era.row - 1)] : std::string();
    shown.eraYear = inEra ? kalvo::eraYearText(era.row, era.eraYear, shown.eraName) : std::string();

    shown.dateLine = kalvo::toText(date);
    const float age = kalvo::moonAgeOf(date);
    shown.figure = kalvo::phaseFigure(age);
    shown.age = kalvo::formatDecimals(age, 2);
}

void BM_PanelRedisplay(benchmark::State& state) {
    const Table table;
    PanelShown shown;
    for (auto _ : state) {
        size_t sum = 0;
        for (long s = kalvo::kMinSerial; s <= kalvo::kMaxSerial; ++s) {
            redisplay(table, static_cast<Serial>(s), shown);
            sum += shown.age.size() + shown.eraYear.size() + shown.dateLine.size();
        }
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, static_cast<double>(kDates));
}

// The parts, each over the same dates.
template <typename Part>
void overEveryDate(benchmark::State& state, Part part) {
    for (auto _ : state) {
        double sum = 0;
        for (long s = kalvo::kMinSerial; s <= kalvo::kMaxSerial; ++s) sum += part(static_cast<Serial>(s));
        benchmark::DoNotOptimize(sum);
    }
    kalvo::bench::countItems(state, static_cast<double>(kDates));
}

void BM_PartDate(benchmark::State& state) {
    overEveryDate(state, [](Serial s) {
        const kalvo::Ymd d = kalvo::toYmd(s);
        return static_cast<double>(d.year + d.month + d.day + kalvo::weekday(s));
    });
}

void BM_PartSpan(benchmark::State& state) {
    overEveryDate(state, [](Serial s) {
        const kalvo::Span span = kalvo::computeSpan(s, kOtherPanel, false);
        return static_cast<double>(span.total + span.years + span.months + span.days);
    });
}

void BM_PartEra(benchmark::State& state) {
    const Table table;
    overEveryDate(state, [&table](Serial s) {
        const auto era = table.lookup.find(s);
        return static_cast<double>(era.row + era.eraYear);
    });
}

void BM_PartMoon(benchmark::State& state) {
    overEveryDate(state, [](Serial s) {
        const kalvo::PhaseFigure f = kalvo::phaseFigure(kalvo::moonAgeOf(s));
        return f.ellipseSemiAxis;
    });
}

void BM_PartTexts(benchmark::State& state) {
    overEveryDate(state, [](Serial s) {
        return static_cast<double>(kalvo::toText(s).size() +
                                   kalvo::formatDecimals(static_cast<double>(s) * 1e-5, 2).size());
    });
}

BENCHMARK(BM_PanelRedisplay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartSpan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartEra)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartMoon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartTexts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const auto ns = kalvo::bench::runAll(argc, argv);
    const char* names[] = {"BM_PanelRedisplay", "BM_PartDate", "BM_PartSpan",
                           "BM_PartEra",        "BM_PartMoon", "BM_PartTexts"};
    for (const char* name : names)
        if (!ns.count(name)) return 1;
    std::printf(
        "panel redisplay work without widgets, every date 0100-01-01..9999-12-31 (%s dates): %.1f ns/date "
        "(y/m/d and weekday %.1f, span %.1f, era %.1f, moon age and figure %.1f, date line and age texts %.1f)\n",
        kalvo::bench::grouped(kDates).c_str(), ns.at("BM_PanelRedisplay"), ns.at("BM_PartDate"), ns.at("BM_PartSpan"),
        ns.at("BM_PartEra"), ns.at("BM_PartMoon"), ns.at("BM_PartTexts"));
    return 0;
}
