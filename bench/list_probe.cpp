// Measures the event list (何の日？) of a running Kalvo: from a synthetic click on the arrow
// of the list's combo box until its popup is painted and settled (no repaint for 50 ms),
// and from the keys End and Enter in the popup (the last entry picked) until the window
// has settled after showing that entry's date.
//
//   list_probe RUNS DIR PROGRAM X,Y [WHAT]   (X,Y: the combo's arrow in the window;
//                                            WHAT names the list in the printed lines)
#include "probe_input.h"
#include "x_watch.h"

#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace kalvo::probe;

int main(int argc, char** argv) {
    int ax = 0, ay = 0;
    if ((argc != 5 && argc != 6) || std::sscanf(argv[4], "%d,%d", &ax, &ay) != 2) {
        std::fprintf(stderr, "usage: %s RUNS DIR PROGRAM X,Y [WHAT]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string entries = argc > 5 ? argv[5] : "entries";
    constexpr double kQuietMs = 50;
    Watcher x;
    Pointer input(x.display());
    Child& c = x.start(argv[3], argv[2]);
    if (!x.waitFirstPaint(c, 60000)) {
        std::fprintf(stderr, "the program did not paint within 60 s\n");
        return 1;
    }
    x.settle(c, Clock::now(), 300, 60000);
    const Window w = mainWindow(x.display(), c.windows);
    int ox = 0, oy = 0;
    x.origin(w, ox, oy);
    input.moveTo(ox + ax, oy + ay);
    x.settle(c, Clock::now(), kQuietMs, 2000);

    std::vector<double> open, pick;
    double firstOpen = 0;
    for (int round = -1; round < runs; ++round) {  // one round to warm up
        auto t0 = Clock::now();
        input.click();
        // The combo's own face repaints at once; the figure waits for the popup's paint.
        const auto popupPainted = [&] {
            for (const auto& [window, when] : c.lastDamageOf)
                if (window != w && when > t0) return true;
            return false;
        };
        // A popup shown again may be put back without a repaint; then the wait ends sooner.
        x.pump(t0 + std::chrono::seconds(round < 0 ? 30 : 2), popupPainted);
        const bool seen = popupPainted();
        auto last = x.settle(c, t0, kQuietMs, 2000, true);
        if (last == Clock::time_point{} || !otherViewable(x.display(), c.windows, w)) {
            std::fprintf(stderr, "the list did not open (%zu windows, %s)\n", c.windows.size(),
                         last == Clock::time_point{} ? "no repaint" : "no popup shown");
            return 1;
        }
        if (round < 0) firstOpen = msBetween(t0, last);
        else if (seen) open.push_back(msBetween(t0, last));
        t0 = Clock::now();
        input.key(XK_End);
        input.key(XK_Return);
        last = x.settle(c, t0, kQuietMs, 5000, true);
        if (last == Clock::time_point{}) {
            std::fprintf(stderr, "picking the last entry repainted nothing\n");
            return 1;
        }
        if (round >= 0) pick.push_back(msBetween(t0, last));
        // Back to the first entry, so that the next pick of the last one changes the window.
        t0 = Clock::now();
        input.click();
        x.pump(t0 + std::chrono::seconds(2), popupPainted);
        x.settle(c, t0, kQuietMs, 2000, true);
        t0 = Clock::now();
        input.key(XK_Home);
        input.key(XK_Return);
        x.settle(c, t0, kQuietMs, 2000, true);
    }
    std::printf(
        "event list of %s, click on the arrow until the popup has settled: first time %.1f ms, "
        "later (median of the %zu of %d that repainted) %.1f ms\n",
        entries.c_str(), firstOpen, open.size(), runs, median(open));
    std::printf(
        "event list of %s, End and Enter in the popup until the window has settled on the last entry "
        "(median of %d): %.1f ms\n",
        entries.c_str(), runs, median(pick));
    return 0;
}
