// What the X probes share: a connection that survives any client (X errors are counted,
// never fatal), programs started in a folder of their own, and the damage (repaints) of
// every window they create, with the time it arrived.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <list>
#include <map>
#include <string>
#include <vector>

namespace kalvo::probe {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to);
double median(std::vector<double> values);

// A program the watcher started; windows created while it is the newest one belong to it.
struct Child {
    int pid = -1;
    Clock::time_point started;
    std::vector<Window> windows;      // top-level windows it created that can be painted
    Clock::time_point firstDamage{};  // zero until its first repaint
    Clock::time_point lastDamage{};
    std::map<Window, Clock::time_point> lastDamageOf;  // per window
    long peakRssKb = 0;                                // filled in by stop()
    bool painted() const { return firstDamage != Clock::time_point{}; }
};

class Watcher {
public:
    // Exits with a message when there is no display or no DAMAGE extension.
    Watcher();
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    Display* display() const { return dpy_; }
    // X errors seen so far (a window gone before it could be watched, for instance).
    static long errors();

    // Starts PROGRAM (no arguments) in DIR, its stderr to /dev/null.
    Child& start(const std::string& program, const std::string& dir);
    // Kills the child and reaps it, taking its peak resident set.
    void stop(Child& child);

    // Handles events until `until`, or until `done` returns true after an event.
    template <class Done>
    void pump(Clock::time_point until, Done done) {
        while (Clock::now() < until) {
            if (!handleOne(until)) continue;
            if (done()) return;
        }
    }
    // Handles events until no window of `child` was repainted for `quietMs` (or `limitMs`
    // after `since` passed); the result is the time of its last repaint after `since`, or
    // the zero time when there was none. With `mustRepaint` the quiet span only begins
    // with the first repaint after `since`: a slow answer is waited for.
    Clock::time_point settle(Child& child, Clock::time_point since, double quietMs, double limitMs,
                             bool mustRepaint = false);
    // Waits for the child's first repaint; false after `limitMs`.
    bool waitFirstPaint(Child& child, double limitMs);

    // Where a window's (0,0) lies on the screen.
    void origin(Window w, int& x, int& y) const;

private:
    bool handleOne(Clock::time_point until);  // false: nothing arrived in time
    void watch(Window w);

    Display* dpy_ = nullptr;
    int damageEvent_ = 0;
    std::map<Window, unsigned long> damages_;  // window -> Damage handle
    std::map<Window, Child*> owner_;
    std::list<Child> children_;  // stable addresses: owner_ points into it
};

}  // namespace kalvo::probe
