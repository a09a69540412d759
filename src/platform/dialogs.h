// Modal message boxes. The window asks through this interface so that tests can
// answer the boxes from a script and see every box that was shown; the real boxes are
// widgets of the window (window/ui/message_boxes.h).
#pragma once

#include <QString>

namespace kalvo {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question };
// Closed: the box was closed without a button (Escape, the title bar's close button), or
// closed by the program because the end is no longer attended. It is never a decision.
enum class Answer { OK, Cancel, Yes, No, Closed };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // title empty: the box shows the program's name.
    virtual Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) = 0;
    // A box with the text, an OK button and no icon, for what the user only needs to know.
    void showMessage(const QString& text, const QString& title) { message(text, title, Buttons::OK, Icon::None); }

    // Nobody attends the program any more (a signal, the end of the session, the display
    // gone): the boxes that are open close and answer Closed (unless `closeOpen` is false,
    // for when the window system can no longer be reached), and every later box is
    // written to stderr instead of shown and answers Closed.
    void endAttendance(bool closeOpen = true) {
        attended_ = false;
        if (closeOpen) closeOpenBoxes();
    }
    bool attended() const { return attended_; }

protected:
    virtual void closeOpenBoxes() {}
    // What message() does once nobody attends: the title and text go to stderr.
    static Answer printUnattended(const QString& text, const QString& title);

private:
    bool attended_ = true;
};

}  // namespace kalvo
