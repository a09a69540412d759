// The date text parser on each form it reads, against the y/m/d parser it grew from
// (parseDate, which still reads the era files' first days), and the test that sorts the
// event file's lines into entries on a list of mixed forms.
#include "figures.h"

#include "core/era/date_text.h"
#include "core/events/event_entry.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using kalvo::Serial;

constexpr int kTexts = 1000;

// kTexts texts of one form, for days spread over 1990..2029 (平成 and 令和).
std::vector<std::string> texts(const std::function<std::string(Serial, const kalvo::Ymd&)>& form) {
    std::vector<std::string> all;
    for (int i = 0; i < kTexts; ++i) {
        const Serial s = kalvo::fromYmd(1990, 1, 1) + i * 14.6;
        all.push_back(form(s, kalvo::toYmd(s)));
    }
    return all;
}

std::string slashed(const kalvo::Ymd& d) {
    return std::to_string(d.year) + "/" + std::to_string(d.month) + "/" + std::to_string(d.day);
}

std::string letter(Serial s, const kalvo::Ymd& d) {
    const bool reiwa = s >= kalvo::fromYmd(2019, 5, 1);
    return (reiwa ? "R" : "H") + std::to_string(d.year - (reiwa ? 2018 : 1988)) + "." + std::to_string(d.month) + "." +
           std::to_string(d.day);
}

void parseAll(benchmark::State& state, const std::vector<std::string>& all,
              const std::function<std::optional<Serial>(const std::string&)>& parse, bool dates = true) {
    for (auto _ : state) {
        int found = 0;
        for (const auto& text : all) found += parse(text).has_value();
        if (found != (dates ? kTexts : 0)) state.SkipWithError("a text read wrongly");
        benchmark::DoNotOptimize(found);
    }
    kalvo::bench::countItems(state, kTexts);
}

const kalvo::DateEras& eras() {
    static const kalvo::DateEras e;
    return e;
}

std::optional<Serial> newParser(const std::string& t) { return kalvo::parseDateText(t, eras()); }

const char* const kWeekdays[] = {"(日)", "(月)", "(火)", "(水)", "(木)", "(金)", "(土)"};

void BM_YmdOldParser(benchmark::State& state) {
    parseAll(state, texts([](Serial, const kalvo::Ymd& d) { return slashed(d); }),
             [](const std::string& t) { return kalvo::parseDate(t); });
}
void BM_Ymd(benchmark::State& state) {
    parseAll(state, texts([](Serial, const kalvo::Ymd& d) { return slashed(d); }), newParser);
}
void BM_Nengappi(benchmark::State& state) {
    parseAll(state, texts([](Serial, const kalvo::Ymd& d) {
                 return std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) + "日";
             }),
             newParser);
}
void BM_EraName(benchmark::State& state) {
    const auto rows = kalvo::builtInEraRows();
    parseAll(state, texts([&rows](Serial s, const kalvo::Ymd&) { return kalvo::eraDateText(rows, s); }), newParser);
}
void BM_EraLetter(benchmark::State& state) { parseAll(state, texts(letter), newParser); }
void BM_FullWidth(benchmark::State& state) {
    parseAll(state, texts([](Serial, const kalvo::Ymd& d) {
                 std::string wide;
                 for (const char c : slashed(d))
                     wide +=
                         c == '/' ? std::string("／") : "\xEF\xBC" + std::string(1, static_cast<char>(0x90 + c - '0'));
                 return wide;
             }),
             newParser);
}
void BM_Weekday(benchmark::State& state) {
    parseAll(state, texts([](Serial s, const kalvo::Ymd& d) { return slashed(d) + kWeekdays[kalvo::weekday(s) - 1]; }),
             newParser);
}
void BM_NotADate(benchmark::State& state) {
    parseAll(state, texts([](Serial, const kalvo::Ymd& d) { return "' メモ：" + std::to_string(d.year) + "年の予定"; }),
             newParser, false);
}

// The lines of a mixed list: half entries with "@", half dates alone in the forms above.
void BM_EntryLines(benchmark::State& state) {
    const auto rows = kalvo::builtInEraRows();
    const auto lines = texts([&rows](Serial s, const kalvo::Ymd& d) {
        const int i = static_cast<int>(s) % 4;
        if (i == 0) return "記念日　（家族）     @" + slashed(d);
        if (i == 1) return "記念日　（家族）     @" + kalvo::eraDateText(rows, s);
        if (i == 2) return kalvo::eraDateText(rows, s);
        return letter(s, d) + kWeekdays[kalvo::weekday(s) - 1];
    });
    for (auto _ : state) {
        int kept = 0;
        for (const auto& line : lines) kept += kalvo::isEntryLine(line);
        if (kept != kTexts) state.SkipWithError("a line dropped");
        benchmark::DoNotOptimize(kept);
    }
    kalvo::bench::countItems(state, kTexts);
}

BENCHMARK(BM_YmdOldParser);
BENCHMARK(BM_Ymd);
BENCHMARK(BM_Nengappi);
BENCHMARK(BM_EraName);
BENCHMARK(BM_EraLetter);
BENCHMARK(BM_FullWidth);
BENCHMARK(BM_Weekday);
BENCHMARK(BM_NotADate);
BENCHMARK(BM_EntryLines);

}  // namespace

int main(int argc, char** argv) {
    const auto ns = kalvo::bench::runAll(argc, argv);
    const std::pair<const char*, const char*> forms[] = {{"BM_Ymd", "2003/9/14"},
                                                         {"BM_Nengappi", "2003年9月14日"},
                                                         {"BM_EraName", "平成15年9月14日"},
                                                         {"BM_EraLetter", "H15.9.14"},
                                                         {"BM_FullWidth", "２００３／９／１４"},
                                                         {"BM_Weekday", "2003/9/14(日)"},
                                                         {"BM_NotADate", "a comment"},
                                                         {"BM_EntryLines", "isEntryLine, mixed lines"}};
    if (!ns.count("BM_YmdOldParser")) return 1;
    const double old = ns.at("BM_YmdOldParser");
    std::printf("date text parser, per text (the y/m/d parser on 2003/9/14: %s):", kalvo::bench::duration(old).c_str());
    for (const auto& [name, label] : forms) {
        if (!ns.count(name)) return 1;
        std::printf(" %s %s (%.2fx);", label, kalvo::bench::duration(ns.at(name)).c_str(), ns.at(name) / old);
    }
    std::printf("\n");
    return 0;
}
