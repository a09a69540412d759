// What makes a mouse click on the window's own clickable widgets (the labels and the
// moon picture): a left press and a left release inside the widget. The second press of
// a double-click is not a new click, so a widget toggled by clicks does not flip twice.
#pragma once

#include <QMouseEvent>
#include <QRect>

namespace kalvo {

class ClickTracker {
public:
    void press(const QMouseEvent* event) {
        if (event->button() == Qt::LeftButton) pressed_ = true;
    }
    // The press before it was the second half of a double-click.
    void doubleClick(QMouseEvent* event) {
        pressed_ = false;
        event->accept();
    }
    // True when this release completes a click on `area`.
    bool release(const QMouseEvent* event, const QRect& area) {
        const bool click = pressed_ && event->button() == Qt::LeftButton && area.contains(event->position().toPoint());
        pressed_ = false;
        return click;
    }

private:
    bool pressed_ = false;
};

}  // namespace kalvo
