#include "probe_input.h"

#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>

namespace kalvo::probe {

Pointer::Pointer(Display* dpy) : dpy_(dpy) {
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy_, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "the X server has no XTEST extension\n");
        std::exit(2);
    }
}

void Pointer::moveTo(int x, int y) {
    XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
    XFlush(dpy_);
}

void Pointer::click() {
    XTestFakeButtonEvent(dpy_, 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy_, 1, False, CurrentTime);
    XFlush(dpy_);
}

void Pointer::key(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(dpy_, keysym);
    XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
    XFlush(dpy_);
}

Window mainWindow(Display* dpy, const std::vector<Window>& windows) {
    Window best = 0;
    long bestArea = 0;
    for (Window w : windows) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) continue;
        const long area = static_cast<long>(a.width) * a.height;
        if (area > bestArea) {
            best = w;
            bestArea = area;
        }
    }
    return best;
}

bool otherViewable(Display* dpy, const std::vector<Window>& windows, Window except) {
    for (Window w : windows) {
        XWindowAttributes a{};
        if (w != except && XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable) return true;
    }
    return false;
}

}  // namespace kalvo::probe
