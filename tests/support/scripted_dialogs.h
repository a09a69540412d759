// Message boxes for tests: every box shown is recorded, answers come from a queue.
// With the queue empty a box is answered with its first button (OK or Yes), and the
// box is counted as unanswered so a test can tell.
#pragma once

#include "platform/dialogs.h"

#include <deque>
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
    std::deque<Answer> answers;
    int unanswered = 0;

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        ++unanswered;
        return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::OK;
    }
};

}  // namespace kalvo::test
