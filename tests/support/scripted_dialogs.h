// Message boxes for tests: every box shown is recorded, answers come from a queue.
// With the queue empty a box is answered with its first button (OK or Yes), and the
// box is counted as unanswered so a test can tell. `whileOpen` runs while a box is
// "open" (to end the program from outside then, or to write the file meanwhile); once
// nobody attends, boxes are not shown but recorded in `printed`, as the real ones go to
// stderr then.
#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <functional>
#include <vector>

namespace kalvo::test {

struct ShownBox {
    QString text;
    QString title;
    Buttons buttons;
    Icon icon;
};

class ScriptedDialogs : public Dialogs {
public:
    std::vector<ShownBox> shown;
    std::vector<ShownBox> printed;
    std::deque<Answer> answers;
    int unanswered = 0;
    std::function<void(const ShownBox&)> whileOpen;

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override {
        if (!attended()) {
            printed.push_back({text, title, buttons, icon});
            return Answer::Closed;
        }
        shown.push_back({text, title, buttons, icon});
        closedFromOutside_ = false;
        if (whileOpen) whileOpen(shown.back());
        if (closedFromOutside_) return Answer::Closed;
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        ++unanswered;
        return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::OK;
    }

protected:
    void closeOpenBoxes() override { closedFromOutside_ = true; }

private:
    bool closedFromOutside_ = false;
};

}  // namespace kalvo::test
