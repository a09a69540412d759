// Measures what a user waits for after a click: from a synthetic click (XTest) until the
// last repaint it causes, taken as settled when the window was not repainted for 50 ms.
// Two programs run side by side; their windows are clicked in turn, at the same spot of
// each window, so that both see the same state of the machine.
//
//   click_probe RUNS X,Y SUBJECT PEER        (SUBJECT, PEER: LABEL=DIR=PROGRAM)
#include "probe_input.h"
#include "x_watch.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace kalvo::probe;

constexpr double kQuietMs = 50;

struct Side {
    std::string label, dir, program;
    Child* child = nullptr;
    int x = 0, y = 0;  // the click point on the screen
    std::vector<double> ms;
};

bool parseSide(const std::string& arg, Side& side) {
    const size_t a = arg.find('='), b = a == std::string::npos ? a : arg.find('=', a + 1);
    if (b == std::string::npos) return false;
    side.label = arg.substr(0, a);
    side.dir = arg.substr(a + 1, b - a - 1);
    side.program = arg.substr(b + 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Side sides[2];
    int px = 0, py = 0;
    if (argc != 5 || std::sscanf(argv[2], "%d,%d", &px, &py) != 2 || !parseSide(argv[3], sides[0]) ||
        !parseSide(argv[4], sides[1])) {
        std::fprintf(stderr, "usage: %s RUNS X,Y LABEL=DIR=PROGRAM LABEL=DIR=PROGRAM\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Watcher x;
    Pointer pointer(x.display());
    for (Side& s : sides) {
        s.child = &x.start(s.program, s.dir);
        if (!x.waitFirstPaint(*s.child, 30000)) {
            std::fprintf(stderr, "%s did not paint within 30 s\n", s.label.c_str());
            return 1;
        }
        x.settle(*s.child, Clock::now(), 300, 30000);
        const Window w = mainWindow(x.display(), s.child->windows);
        if (!w) {
            std::fprintf(stderr, "%s shows no window\n", s.label.c_str());
            return 1;
        }
        x.origin(w, s.x, s.y);
        s.x += px;
        s.y += py;
    }
    for (int round = -2; round < runs; ++round) {  // two rounds to warm up (focus, hover)
        for (Side& s : sides) {
            pointer.moveTo(s.x, s.y);
            const auto moved = Clock::now();
            for (Side& other : sides) x.settle(*other.child, moved, kQuietMs, 2000);
            const auto t0 = Clock::now();
            pointer.click();
            const auto last = x.settle(*s.child, t0, kQuietMs, 5000, true);
            if (last == Clock::time_point{}) {
                std::fprintf(stderr, "a click on %s repainted nothing\n", s.label.c_str());
                return 1;
            }
            if (round >= 0) s.ms.push_back(msBetween(t0, last));
        }
    }
    const double a = median(sides[0].ms), b = median(sides[1].ms);
    std::printf(
        "click, synthetic click to the last repaint, settled after %.0f ms without one (median of %d "
        "interleaved clicks): %s %.1f ms, %s %.1f ms, ratio %.2f (target <= 1.20: %s)\n",
        kQuietMs, runs, sides[0].label.c_str(), a, sides[1].label.c_str(), b, a / b, a / b <= 1.20 ? "met" : "not met");
    return 0;
}
