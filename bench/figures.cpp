#include "figures.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

namespace kalvo::bench {
namespace {

constexpr const char* kPerItem = "seconds_per_item";

// Keeps the seconds per item of every repetition while the console reporter prints the
// table as usual.
class Collector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::vector<double>> samples;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const auto counter = run.counters.find(kPerItem);
            if (counter == run.counters.end()) continue;
            samples[run.run_name.function_name].push_back(counter->second.value * 1e9);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

void countItems(benchmark::State& state, double items) {
    state.counters[kPerItem] =
        benchmark::Counter(items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::map<std::string, double> runAll(int argc, char** argv) {
    // Defaults first: a flag given on the command line comes later and wins.
    std::vector<char*> args{argv[0]};
    std::string repetitions = "--benchmark_repetitions=5";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.push_back(repetitions.data());
    args.push_back(interleave.data());
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return {};

    Collector collector;
    collector.SetOutputStream(&std::cerr);
    collector.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::map<std::string, double> figures;
    for (const auto& [name, values] : collector.samples) figures[name] = median(values);
    return figures;
}

std::string grouped(long long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

std::string duration(double ns) {
    char text[64];
    if (ns < 1e3) std::snprintf(text, sizeof text, "%.1f ns", ns);
    else if (ns < 1e6) std::snprintf(text, sizeof text, "%.1f µs", ns / 1e3);
    else if (ns < 1e9) std::snprintf(text, sizeof text, "%.1f ms", ns / 1e6);
    else std::snprintf(text, sizeof text, "%.2f s", ns / 1e9);
    return text;
}

}  // namespace kalvo::bench
