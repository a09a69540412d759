// Modal message boxes. The window asks through this interface so that tests can
// answer the boxes from a script and see every box that was shown.
#pragma once

#include <QString>

namespace kalvo {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question };
enum class Answer { OK, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // title empty: the box shows the program's name.
    virtual Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) = 0;
    // A box with the text, an OK button and no icon, for what the user only needs to know.
    void showMessage(const QString& text, const QString& title) { message(text, title, Buttons::OK, Icon::None); }
};

// The real boxes: QMessageBox with Japanese button texts.
class MessageBoxDialogs : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
};

}  // namespace kalvo
