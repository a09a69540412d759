#include "x_watch.h"

#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace kalvo::probe {
namespace {

long errorCount = 0;

// Any client may destroy a window between our hearing of it and our asking about it, and
// Xlib's default handler would end the probe for that; the error only means "not this one".
int countError(Display*, XErrorEvent*) {
    ++errorCount;
    return 0;
}

}  // namespace

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long Watcher::errors() { return errorCount; }

Watcher::Watcher() {
    XSetErrorHandler(countError);
    dpy_ = XOpenDisplay(nullptr);
    if (!dpy_) {
        std::fprintf(stderr, "no X display\n");
        std::exit(2);
    }
    int damageError = 0;
    if (!XDamageQueryExtension(dpy_, &damageEvent_, &damageError)) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        std::exit(2);
    }
    XSelectInput(dpy_, DefaultRootWindow(dpy_), SubstructureNotifyMask);
    XSync(dpy_, False);
}

Watcher::~Watcher() {
    for (Child& c : children_)
        if (c.pid > 0) stop(c);
    XCloseDisplay(dpy_);
}

Child& Watcher::start(const std::string& program, const std::string& dir) {
    XSync(dpy_, False);
    Child& c = children_.emplace_back();
    c.started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(127);
        if (!std::freopen("/dev/null", "w", stderr)) _exit(127);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    c.pid = pid;
    return c;
}

void Watcher::stop(Child& child) {
    if (child.pid <= 0) return;
    kill(child.pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(child.pid, &status, 0, &usage);
    child.peakRssKb = usage.ru_maxrss;
    child.pid = -1;
    // Its windows go with it; forget them so that a later window with the same id is new.
    XSync(dpy_, False);
    for (Window w : child.windows) {
        owner_.erase(w);
        damages_.erase(w);
    }
    for (auto it = owner_.begin(); it != owner_.end();) it = it->second == &child ? owner_.erase(it) : std::next(it);
}

// Only InputOutput windows have contents; asking for the damage of an InputOnly one is
// a BadMatch. The window may already be gone, then there is nothing to watch.
void Watcher::watch(Window w) {
    if (children_.empty() || children_.back().pid <= 0) return;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(dpy_, w, &a) || a.c_class != InputOutput) return;
    const Damage d = XDamageCreate(dpy_, w, XDamageReportNonEmpty);
    XFlush(dpy_);
    damages_[w] = d;
    owner_[w] = &children_.back();
    children_.back().windows.push_back(w);
}

bool Watcher::handleOne(Clock::time_point until) {
    if (!XPending(dpy_)) {
        const double left = msBetween(Clock::now(), until);
        if (left <= 0) return false;
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&p, 1, std::max(1, static_cast<int>(left)));
        if (!XPending(dpy_)) return false;
    }
    XEvent ev;
    XNextEvent(dpy_, &ev);
    const auto now = Clock::now();
    if (ev.type == CreateNotify) {
        watch(ev.xcreatewindow.window);
    } else if (ev.type == damageEvent_ + XDamageNotify) {
        const auto* d = reinterpret_cast<const XDamageNotifyEvent*>(&ev);
        // Empty the damage region so that the next repaint is reported again.
        XDamageSubtract(dpy_, d->damage, None, None);
        const auto it = owner_.find(d->drawable);
        if (it != owner_.end()) {
            Child& c = *it->second;
            if (!c.painted()) c.firstDamage = now;
            c.lastDamage = now;
            c.lastDamageOf[d->drawable] = now;
        }
    }
    return true;
}

bool Watcher::waitFirstPaint(Child& child, double limitMs) {
    const auto until = Clock::now() + std::chrono::microseconds(static_cast<long>(limitMs * 1000));
    pump(until, [&] { return child.painted(); });
    return child.painted();
}

Clock::time_point Watcher::settle(Child& child, Clock::time_point since, double quietMs, double limitMs,
                                  bool mustRepaint) {
    const auto quiet = std::chrono::microseconds(static_cast<long>(quietMs * 1000));
    const auto limit = since + std::chrono::microseconds(static_cast<long>(limitMs * 1000));
    if (mustRepaint) pump(limit, [&] { return child.lastDamage > since; });
    for (;;) {
        const auto last = child.lastDamage > since ? child.lastDamage : since;
        const auto quietEnd = std::min(last + quiet, limit);
        if (Clock::now() >= quietEnd) break;
        pump(quietEnd, [&] { return child.lastDamage > last; });
    }
    return child.lastDamage > since ? child.lastDamage : Clock::time_point{};
}

void Watcher::origin(Window w, int& x, int& y) const {
    Window unused = 0;
    x = y = 0;
    XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), 0, 0, &x, &y, &unused);
}

}  // namespace kalvo::probe
