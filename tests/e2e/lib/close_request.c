/* What a click on a window's close box sends: the window manager's WM_DELETE_WINDOW
 * request. There is no window manager under Xvfb, so this client sends it itself, to
 * every window id given, all in one flush so that several windows get it at once.
 *
 *   close_request WINDOW-ID...
 */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: close_request WINDOW-ID...\n");
        return 2;
    }
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "close_request: no display\n");
        return 1;
    }
    const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    for (int i = 1; i < argc; ++i) {
        XEvent e = {0};
        e.xclient.type = ClientMessage;
        e.xclient.window = (Window)strtoul(argv[i], NULL, 0);
        e.xclient.message_type = protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = (long)deleteWindow;
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    }
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
