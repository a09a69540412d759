// Compares every new moon and every solar term (中気 among them) that the almanac computes
// for 1844-2100 with the same events found in swetest's ephemeris (the Swiss Ephemeris' own
// files, which follow a JPL ephemeris to about a second), and prints the largest difference
// for each span. Exits 1 when a span misses its target: 5 s for 1900-2026, 60 s for
// 2027-2100 (where ΔT itself is a forecast); 1844-1899 is reported only.
//
// swetest gives apparent longitudes on a grid in UT (its ΔT): the Sun once a day, the Moon
// minus the Sun once an hour, and its ΔT once a day. Each event is found on the grid by
// cubic interpolation. The difference in UT is what a user sees; the difference in TT is
// that of the ephemerides alone; the rest is the two ΔT models.
#include "core/almanac/almanac.h"
#include "core/almanac/ephemeris.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kJdStart = 2394500.5;  // 1843-12-01 0h UT
constexpr double kJdEnd = 2488100.5;    // 2100-02-01
constexpr int kChunk = 36000;           // swetest prints at most 36525 lines a run

// One column of swetest output on a grid from kJdStart, step in minutes.
std::vector<double> grid(const std::string& body, int stepMinutes) {
    std::vector<double> out;
    const double step = stepMinutes / 1440.0;
    const auto total = static_cast<long>((kJdEnd - kJdStart) / step) + 4;
    for (long first = 0; first < total; first += kChunk) {
        char cmd[256];
        std::snprintf(cmd, sizeof cmd, "swetest -bj%.8f -ut %s -fl -head -n%d -s%dm -eswe 2>&1",
                      kJdStart + static_cast<double>(first) * step, body.c_str(), kChunk, stepMinutes);
        FILE* p = popen(cmd, "r");
        if (!p) return {};
        char line[128];
        while (std::fgets(line, sizeof line, p)) {
            char* end = nullptr;
            const double v = std::strtod(line, &end);
            if (end == line) {
                std::fprintf(stderr, "swetest: %s", line);
                pclose(p);
                return {};
            }
            out.push_back(v);
        }
        pclose(p);
    }
    return out;
}

double unwrap(double a, double ref) { return a - 360.0 * std::round((a - ref) / 360.0); }

// The fraction x in [0, 1) between samples 1 and 2 of four where the cubic through them
// reaches target (values already unwrapped).
double cubicRoot(const double y[4], double target) {
    auto at = [&](double x) {
        // Lagrange through x = -1, 0, 1, 2.
        return -y[0] * x * (x - 1) * (x - 2) / 6 + y[1] * (x + 1) * (x - 1) * (x - 2) / 2 -
               y[2] * (x + 1) * x * (x - 2) / 2 + y[3] * (x + 1) * x * (x - 1) / 6;
    };
    double lo = 0, hi = 1;
    const bool rising = y[2] > y[1];
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        ((at(mid) < target) == rising ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

struct Found {
    double jdUt;
    int term;  // -1 new moon
};

std::vector<Found> crossings(const std::vector<double>& v, int stepMinutes, bool moon) {
    std::vector<Found> out;
    const double step = stepMinutes / 1440.0;
    for (size_t i = 1; i + 2 < v.size(); ++i) {
        double y[4] = {v[i - 1], v[i], v[i + 1], v[i + 2]};
        for (int k = 1; k < 4; ++k) y[k] = unwrap(y[k], y[k - 1]);
        if (moon) {
            if (std::fabs(y[1]) > 90 || !(y[1] < 0 && y[2] >= 0)) continue;
            out.push_back({kJdStart + (static_cast<double>(i) + cubicRoot(y, 0.0)) * step, -1});
        } else {
            const double a = std::floor(y[1] / 15.0), b = std::floor(y[2] / 15.0);
            if (a == b) continue;
            const double target = b * 15.0;
            out.push_back({kJdStart + (static_cast<double>(i) + cubicRoot(y, target)) * step,
                           static_cast<int>(std::fmod(b + 48.0, 24.0))});
        }
    }
    return out;
}

struct SpanStats {
    const char* name;
    int first, last;
    double target;  // seconds; 0: report only
    double maxUt = 0, maxTt = 0, maxDeltaT = 0;
    int count = 0, dayDiffers = 0;
    std::string worst;
};

}  // namespace

int main() {
    using namespace kalvo;
    std::vector<double> sun = grid("-p0", 1440), elong = grid("-p1 -d0", 60), dt = grid("-pq", 1440);
    if (sun.empty() || elong.empty() || dt.empty()) {
        std::puts("almanac check: swetest gave no ephemeris (scripts/deps bench installs swetest and swe-basic-data)");
        return 1;
    }
    std::vector<Found> ref = crossings(sun, 1440, false);
    const std::vector<Found> moons = crossings(elong, 60, true);
    ref.insert(ref.end(), moons.begin(), moons.end());

    std::vector<AlmanacEvent> ours = solarTermsOf(1843, 2100);
    const std::vector<AlmanacEvent> ourMoons = newMoonsOf(1843, 2100);
    ours.insert(ours.end(), ourMoons.begin(), ourMoons.end());
    std::sort(ours.begin(), ours.end(), [](auto& a, auto& b) { return a.unixSeconds < b.unixSeconds; });

    SpanStats spans[] = {{"1844-1899", 1844, 1899, 0, 0, 0, 0, 0, 0, {}},
                         {"1900-2026", 1900, 2026, 5, 0, 0, 0, 0, 0, {}},
                         {"2027-2100", 2027, 2100, 60, 0, 0, 0, 0, 0, {}}};
    int unmatched = 0;
    for (const Found& f : ref) {
        const double unix = (f.jdUt - kUnixEpochJd) * kSecondsPerDay;
        int y, m, d;
        almanacDateOf(static_cast<int>(std::floor((unix + 9 * 3600) / kSecondsPerDay)), y, m, d);
        SpanStats* s = nullptr;
        for (SpanStats& c : spans)
            if (y >= c.first && y <= c.last) s = &c;
        if (!s) continue;
        auto it = std::lower_bound(ours.begin(), ours.end(), unix - 3600,
                                   [](const AlmanacEvent& e, double t) { return e.unixSeconds < t; });
        while (it != ours.end() && it->term != f.term && it->unixSeconds < unix + 3600) ++it;
        if (it == ours.end() || it->term != f.term || std::fabs(it->unixSeconds - unix) > 3600) {
            ++unmatched;
            std::printf("almanac check: no match for %s %s\n", jstText(unix).c_str(),
                        f.term < 0 ? "new moon" : std::string(solarTermName(f.term)).c_str());
            continue;
        }
        const double idx = (f.jdUt - kJdStart);
        const auto i = static_cast<size_t>(idx);
        const double sweDeltaT = dt[i] + (idx - static_cast<double>(i)) * (dt[i + 1] - dt[i]);
        const double ourDeltaT = deltaTSeconds(decimalYearOfUnix(it->unixSeconds));
        const double dUt = it->unixSeconds - unix;
        const double dTt = dUt + ourDeltaT - sweDeltaT;
        ++s->count;
        if (std::fabs(dUt) > std::fabs(s->maxUt)) {
            s->maxUt = dUt;
            s->worst = jstText(unix) + " " + (f.term < 0 ? "new moon" : std::string(solarTermName(f.term)));
        }
        if (std::fabs(dTt) > std::fabs(s->maxTt)) s->maxTt = dTt;
        if (std::fabs(ourDeltaT - sweDeltaT) > std::fabs(s->maxDeltaT)) s->maxDeltaT = ourDeltaT - sweDeltaT;
        if (it->day != static_cast<int>(std::floor((unix + 9 * 3600) / kSecondsPerDay))) ++s->dayDiffers;
    }
    int status = unmatched ? 1 : 0;
    for (const SpanStats& s : spans) {
        std::string verdict;
        if (s.target > 0) {
            const bool ok = std::fabs(s.maxUt) <= s.target;
            if (!ok) status = 1;
            verdict = " (target " + std::to_string(static_cast<int>(s.target)) + " s: " + (ok ? "ok)" : "MISSED)");
        }
        std::printf(
            "almanac vs swetest %s: %d new moons and solar terms, largest difference %+.1f s UT (%s), "
            "%+.1f s TT; the ΔT models differ by up to %+.1f s; %d on another JST day%s\n",
            s.name, s.count, s.maxUt, s.worst.c_str(), s.maxTt, s.maxDeltaT, s.dayDiffers, verdict.c_str());
    }
    return status;
}
