// Measures the save at the end of a run with a long list: Kalvo starts in DIR, a click
// on a check box changes one setting, and SIGTERM (what a session manager sends) makes
// it save and end; the figure runs from the signal until the process has exited. The
// peer is the core writer on the same list (the file's lines made from the entries in
// memory), timed in this process.
//
//   save_probe RUNS DIR PROGRAM X,Y      (X,Y: the check box in the window)
#include "core/events/event_file.h"
#include "platform/text_file.h"
#include "probe_input.h"
#include "x_watch.h"

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace kalvo::probe;

namespace {

// The seconds of one save at the end, or a negative number when it did not save.
double saveAtEnd(Watcher& x, Pointer& input, const std::string& program, const std::string& dir, int ax, int ay,
                 const std::string& path) {
    const kalvo::FileBytes before = kalvo::readFileBytes(path);
    Child& c = x.start(program, dir);
    if (!x.waitFirstPaint(c, 120000)) {
        std::fprintf(stderr, "the program did not paint within 120 s\n");
        return -1;
    }
    x.settle(c, Clock::now(), 300, 60000);
    const Window w = mainWindow(x.display(), c.windows);
    int ox = 0, oy = 0;
    x.origin(w, ox, oy);
    input.moveTo(ox + ax, oy + ay);
    const auto clicked = Clock::now();
    input.click();
    if (x.settle(c, clicked, 300, 10000, true) == Clock::time_point{}) {
        std::fprintf(stderr, "the click on the check box repainted nothing\n");
        return -1;
    }
    const auto t0 = Clock::now();
    kill(c.pid, SIGTERM);
    int status = 0;
    waitpid(c.pid, &status, 0);
    const auto t1 = Clock::now();
    c.pid = -1;
    const kalvo::FileBytes after = kalvo::readFileBytes(path);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || after.status != kalvo::FileStatus::Ok ||
        after.bytes == before.bytes) {
        std::fprintf(stderr, "the program did not save the change and end with status 0\n");
        return -1;
    }
    return msBetween(t0, t1) / 1000;
}

}  // namespace

int main(int argc, char** argv) {
    int ax = 0, ay = 0;
    if (argc != 5 || std::sscanf(argv[4], "%d,%d", &ax, &ay) != 2) {
        std::fprintf(stderr, "usage: %s RUNS DIR PROGRAM X,Y\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string dir = argv[2];
    const std::string path = dir + "/kalvoe.dat";
    const kalvo::EventFileRead read = kalvo::readEventBytes(kalvo::readFileBytes(path).bytes);
    const auto entries = static_cast<double>(read.file.entries.size());
    if (read.reach != kalvo::ReadReach::Everything || entries == 0) {
        std::fprintf(stderr, "%s holds no list\n", path.c_str());
        return 2;
    }

    Watcher x;
    Pointer input(x.display());
    std::vector<double> save, core;
    for (int run = 0; run < runs; ++run) {
        const double s = saveAtEnd(x, input, argv[3], dir, ax, ay, path);
        if (s < 0) return 1;
        save.push_back(s);
        for (int round = 0; round < 3; ++round) {
            const auto t0 = Clock::now();
            const auto lines = kalvo::writeEventLines(read.file);
            core.push_back(msBetween(t0, Clock::now()) / 1000);
            if (lines.size() < read.file.entries.size()) return 1;
        }
    }
    const double perEntry = median(save) / entries * 1e6, corePerEntry = median(core) / entries * 1e6;
    std::printf(
        "save at the end, SIGTERM after one check box changed, %.0f entries (median of %d): %.2f s, %.2f µs per "
        "entry; core writer on the same list: %.3f µs per entry; ratio %.1f (target <= 1 µs per entry: %s)\n",
        entries, runs, median(save), perEntry, corePerEntry, perEntry / corePerEntry,
        perEntry <= 1.0 ? "met" : "not met");
    return 0;
}
