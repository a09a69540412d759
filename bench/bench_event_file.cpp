// The event file with 10,000 entries: the core reader and writer on lines in memory, and
// the whole round through the code page 932 layer (encoding, the file itself, the save
// through a temporary file and its rename).
#include "figures.h"

#include "core/events/event_file.h"
#include "platform/text_file.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

namespace {

constexpr int kEntries = 10000;

kalvo::EventFile bigFile() {
    kalvo::EventFile f = kalvo::defaultEventFile("Ver.2.16");
    f.top = 1200;
    f.left = 1500;
    f.entries.clear();
    for (int i = 0; i < kEntries; ++i) {
        const std::string number = std::to_string(100000 + i).substr(1);
        const std::string date = i % 50 == 0 ? "TODAY"
                                             : std::to_string(1600 + i % 500) + "/" + std::to_string(1 + i % 12) + "/" +
                                                   std::to_string(1 + i % 28);
        f.entries.push_back("記念日その" + number + "　（家族）     @" + date);
    }
    return f;
}

void BM_CoreWrite(benchmark::State& state) {
    const kalvo::EventFile f = bigFile();
    for (auto _ : state) {
        auto lines = kalvo::writeEventLines(f);
        benchmark::DoNotOptimize(lines.data());
    }
    kalvo::bench::countItems(state, 1);
}

void BM_CoreRead(benchmark::State& state) {
    const auto lines = kalvo::writeEventLines(bigFile());
    for (auto _ : state) {
        const auto read = kalvo::readEventLines(lines);
        if (read.file.entries.size() != kEntries) state.SkipWithError("entries lost");
        benchmark::DoNotOptimize(read.file.entries.data());
    }
    kalvo::bench::countItems(state, 1);
}

void BM_FileWrite(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath(QStringLiteral("kalvoe.dat")).toStdString();
    const auto lines = kalvo::writeEventLines(bigFile());
    for (auto _ : state)
        if (kalvo::writeTextFile(path, lines) != kalvo::FileStatus::Ok) state.SkipWithError("write failed");
    kalvo::bench::countItems(state, 1);
}

void BM_FileRead(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath(QStringLiteral("kalvoe.dat")).toStdString();
    if (kalvo::writeTextFile(path, kalvo::writeEventLines(bigFile())) != kalvo::FileStatus::Ok) {
        state.SkipWithError("write failed");
        return;
    }
    for (auto _ : state) {
        const auto text = kalvo::readTextFile(path);
        if (text.status != kalvo::FileStatus::Ok || text.lines.size() != kEntries + 7)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(text.lines.data());
    }
    kalvo::bench::countItems(state, 1);
}

BENCHMARK(BM_CoreRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileWrite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const auto ns = kalvo::bench::runAll(argc, argv);
    for (const char* name : {"BM_CoreRead", "BM_CoreWrite", "BM_FileRead", "BM_FileWrite"})
        if (!ns.count(name)) return 1;
    using kalvo::bench::duration;
    std::printf("event file of %s entries, core on lines in memory: read %s, write %s\n",
                kalvo::bench::grouped(kEntries).c_str(), duration(ns.at("BM_CoreRead")).c_str(),
                duration(ns.at("BM_CoreWrite")).c_str());
    std::printf(
        "event file of %s entries, code page 932 file on disk: read %s, write %s (saved through a temporary file)\n",
        kalvo::bench::grouped(kEntries).c_str(), duration(ns.at("BM_FileRead")).c_str(),
        duration(ns.at("BM_FileWrite")).c_str());
    return 0;
}
