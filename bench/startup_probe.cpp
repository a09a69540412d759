// Measures start-up of X11 programs from exec until the first paint of their window
// (the first damage reported on a window they created), and their peak resident set.
// Runs two programs interleaved, so that both see the same state of the machine, and
// prints the medians and their ratio.
//
//   startup_probe RUNS WORKDIR PROGRAM_A PROGRAM_B
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double ms = 0;
    long rssKb = 0;
};

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

Sample runOnce(Display* dpy, int damageEvent, const char* program, const char* workdir) {
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, True);  // drop anything left from the previous run
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workdir) != 0) _exit(127);
        if (!std::freopen("/dev/null", "w", stderr)) _exit(127);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    Sample s;
    std::set<Window> created;
    bool painted = false;
    while (!painted && secondsSince(t0) < 30) {
        while (!painted && XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == CreateNotify) {
                created.insert(ev.xcreatewindow.window);
                XDamageCreate(dpy, ev.xcreatewindow.window, XDamageReportNonEmpty);
                XFlush(dpy);
            } else if (ev.type == damageEvent + XDamageNotify) {
                const auto* d = reinterpret_cast<XDamageNotifyEvent*>(&ev);
                if (created.count(d->drawable)) {
                    s.ms = secondsSince(t0) * 1000.0;
                    painted = true;
                }
            }
        }
        if (!painted) usleep(200);
    }
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    s.rssKb = usage.ru_maxrss;
    XSelectInput(dpy, root, NoEventMask);
    XSync(dpy, True);
    if (!painted) s.ms = -1;
    return s;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s RUNS WORKDIR PROGRAM_A PROGRAM_B\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    std::vector<double> msA, msB, rssA, rssB;
    runOnce(dpy, damageEvent, argv[3], argv[2]);  // warm the caches for both
    runOnce(dpy, damageEvent, argv[4], argv[2]);
    for (int i = 0; i < runs; ++i) {
        const Sample a = runOnce(dpy, damageEvent, argv[3], argv[2]);
        const Sample b = runOnce(dpy, damageEvent, argv[4], argv[2]);
        if (a.ms < 0 || b.ms < 0) {
            std::fprintf(stderr, "a program did not paint within 30 s\n");
            return 1;
        }
        msA.push_back(a.ms);
        msB.push_back(b.ms);
        rssA.push_back(static_cast<double>(a.rssKb));
        rssB.push_back(static_cast<double>(b.rssKb));
    }
    const double ma = median(msA), mb = median(msB), ra = median(rssA), rb = median(rssB);
    const std::string a = baseName(argv[3]), b = baseName(argv[4]);
    std::printf("start-up, exec to first paint (median of %d interleaved runs): %s %.1f ms, %s %.1f ms, ratio %.2f "
                "(target <= 1.25)\n", runs, a.c_str(), ma, b.c_str(), mb, ma / mb);
    std::printf("start-up, peak resident set at first paint: %s %.0f KiB, %s %.0f KiB, ratio %.2f (target <= 1.25)\n",
                a.c_str(), ra, b.c_str(), rb, ra / rb);
    XCloseDisplay(dpy);
    return 0;
}
