// Support for the benchmark programs: each runs its Google Benchmark cases a few times,
// interleaved, and then prints its figures, one line each, on stdout. The usual table of
// Google Benchmark goes to stderr.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace kalvo::bench {

// Declares that one iteration of the case handles `items` items (dates, files...); the
// figure of the case is then the time per item.
void countItems(benchmark::State& state, double items);

// Runs every registered case (five repetitions in random order unless the command line
// says otherwise) and returns, by function name, the median nanoseconds per item.
// Empty when the command line held an unknown flag.
std::map<std::string, double> runAll(int argc, char** argv);

// 10000 -> "10,000".
std::string grouped(long long value);
// A number of nanoseconds with a sensible unit: "3.2 ns", "41.0 µs", "12.3 ms".
std::string duration(double ns);

}  // namespace kalvo::bench
