// A client that does what toolkits do before their first paint: it creates an input-only
// window (which has no contents, so no damage can be asked for it), then maps a normal
// window and paints it when it is exposed. The start-up probe must measure it.
#include <X11/Xlib.h>
#include <cstdio>

int main(void) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    const int s = DefaultScreen(d);
    const Window root = RootWindow(d, s);
    XSetWindowAttributes none{};
    const Window hidden = XCreateWindow(d, root, 0, 0, 10, 10, 0, 0, InputOnly, CopyFromParent, 0, &none);
    XMapWindow(d, hidden);
    XSync(d, False);
    const Window w = XCreateSimpleWindow(d, root, 20, 20, 200, 100, 0, BlackPixel(d, s), WhitePixel(d, s));
    XSelectInput(d, w, ExposureMask);
    XMapWindow(d, w);
    const GC gc = XCreateGC(d, w, 0, nullptr);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == Expose) {
            XFillRectangle(d, w, gc, 10, 10, 50, 50);
            XFlush(d);
        }
    }
}
