// Synthetic input for the probes (XTest), and finding the window a program shows.
#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace kalvo::probe {

class Pointer {
public:
    explicit Pointer(Display* dpy);  // exits with a message when the server has no XTEST
    void moveTo(int x, int y);
    void click();                    // left button down and up
    void key(unsigned long keysym);  // down and up
private:
    Display* dpy_;
};

// The largest viewable window among `windows`, or 0.
Window mainWindow(Display* dpy, const std::vector<Window>& windows);
// Whether a window of `windows` other than `except` is viewable (a popup is open).
bool otherViewable(Display* dpy, const std::vector<Window>& windows, Window except);

}  // namespace kalvo::probe
