// Measures start-up of X11 programs from exec until the first paint of their window
// (the first damage reported on a window they created), and their peak resident set
// at that moment. Runs every program once per round, round after round, so that all see
// the same state of the machine, and prints the medians and the ratios.
//
//   startup_probe [--growth] [--target LABEL=TIME[,RSS]]... RUNS SUBJECT [PEER...]
//
// SUBJECT and each PEER (there may be none) are LABEL=DIR=PROGRAM; PROGRAM starts without arguments in DIR.
// Each line compares the subject with one peer. With --growth the labels are numbers of
// event-list entries, every item is compared with the first and the growth per entry
// is printed; targets then name the item whose ratio to the first they bound.
#include "x_watch.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace kalvo::probe;

struct Item {
    std::string label, dir, program;
    std::vector<double> ms, rssKb;
};

struct Target {
    double time = 0, rss = 0;  // 0: none
};

std::string verdict(double ratio, double target) {
    if (target <= 0) return "";
    char text[64];
    std::snprintf(text, sizeof text, " (target <= %.2f: %s)", target, ratio <= target ? "met" : "not met");
    return text;
}

bool parseItem(const std::string& arg, Item& item) {
    const size_t a = arg.find('='), b = a == std::string::npos ? a : arg.find('=', a + 1);
    if (b == std::string::npos) return false;
    item.label = arg.substr(0, a);
    item.dir = arg.substr(a + 1, b - a - 1);
    item.program = arg.substr(b + 1);
    return true;
}

int usage(const char* self) {
    std::fprintf(stderr, "usage: %s [--growth] [--target LABEL=TIME[,RSS]]... RUNS LABEL=DIR=PROGRAM...\n", self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool growth = false;
    std::map<std::string, Target> targets;
    int i = 1;
    for (; i < argc && std::string(argv[i]).rfind("--", 0) == 0; ++i) {
        const std::string opt = argv[i];
        if (opt == "--growth") {
            growth = true;
        } else if (opt == "--target" && i + 1 < argc) {
            const std::string t = argv[++i];
            const size_t eq = t.find('=');
            if (eq == std::string::npos) return usage(argv[0]);
            Target& target = targets[t.substr(0, eq)];
            target.time = std::atof(t.c_str() + eq + 1);
            const size_t comma = t.find(',', eq);
            if (comma != std::string::npos) target.rss = std::atof(t.c_str() + comma + 1);
        } else {
            return usage(argv[0]);
        }
    }
    if (argc - i < 2) return usage(argv[0]);
    const int runs = std::atoi(argv[i++]);
    std::vector<Item> items;
    for (; i < argc; ++i) {
        Item item;
        if (!parseItem(argv[i], item)) return usage(argv[0]);
        items.push_back(item);
    }
    if (runs < 1) return usage(argv[0]);

    Watcher x;
    for (int round = -1; round < runs; ++round) {  // round -1 warms the caches for all
        for (Item& item : items) {
            Child& c = x.start(item.program, item.dir);
            const bool painted = x.waitFirstPaint(c, 30000);
            x.stop(c);
            if (!painted) {
                std::fprintf(stderr, "%s did not paint within 30 s\n", item.label.c_str());
                return 1;
            }
            if (round < 0) continue;
            item.ms.push_back(msBetween(c.started, c.firstDamage));
            item.rssKb.push_back(static_cast<double>(c.peakRssKb));
        }
    }

    const Item& first = items.front();
    const double ms0 = median(first.ms), rss0 = median(first.rssKb);
    if (items.size() == 1)
        std::printf("start-up, exec to first paint (median of %d runs): %s %.1f ms, peak resident set %.0f KiB\n", runs,
                    first.label.c_str(), ms0, rss0);
    for (size_t k = 1; k < items.size(); ++k) {
        const Item& item = items[k];
        const double ms = median(item.ms), rss = median(item.rssKb);
        const Target target = targets.count(item.label) ? targets[item.label] : Target{};
        if (growth) {
            const double entries = std::atof(item.label.c_str()) - std::atof(first.label.c_str());
            std::printf(
                "start-up with %s event entries, exec to first paint (median of %d interleaved runs): "
                "%.1f ms against %.1f ms with %s, ratio %.2f%s; growth %.2f µs per entry\n",
                item.label.c_str(), runs, ms, ms0, first.label.c_str(), ms / ms0,
                verdict(ms / ms0, target.time).c_str(), entries > 0 ? (ms - ms0) * 1000.0 / entries : 0.0);
            std::printf(
                "start-up with %s event entries, peak resident set: %.0f KiB against %.0f KiB, ratio %.2f; "
                "growth %.2f KiB per 1,000 entries\n",
                item.label.c_str(), rss, rss0, rss / rss0, entries > 0 ? (rss - rss0) * 1000.0 / entries : 0.0);
        } else {
            std::printf(
                "start-up, exec to first paint (median of %d interleaved runs): %s %.1f ms, %s %.1f ms, "
                "ratio %.2f%s\n",
                runs, first.label.c_str(), ms0, item.label.c_str(), ms, ms0 / ms,
                verdict(ms0 / ms, target.time).c_str());
            std::printf("start-up, peak resident set at first paint: %s %.0f KiB, %s %.0f KiB, ratio %.2f%s\n",
                        first.label.c_str(), rss0, item.label.c_str(), rss, rss0 / rss,
                        verdict(rss0 / rss, target.rss).c_str());
        }
    }
    if (Watcher::errors() > 0)
        std::fprintf(stderr, "startup_probe: %ld X errors ignored (about windows of programs that had just ended)\n",
                     Watcher::errors());
    return 0;
}
