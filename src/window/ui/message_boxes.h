// The real message boxes: the window's widgets behind the Dialogs interface.
#pragma once

#include "platform/dialogs.h"

#include <QFont>
#include <QString>

namespace kalvo {

// The real boxes: QMessageBox with Japanese button texts (はい(&Y), いいえ(&N), OK,
// キャンセル) in the window's Japanese face, wide enough for their title.
class MessageBoxDialogs : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;

protected:
    void closeOpenBoxes() override;
};

// The font of a box: the window's Gothic face at the desktop's size (a box lays itself
// out, so it can follow the size the user chose), not below the window's 9 points.
QFont messageBoxFont();

// The least width of a box whose title bar shows its title whole. The window manager
// draws the title, in a font Qt cannot know: the title is measured in Qt's title-bar font
// made bold, as most window managers draw it. Beside it the bar holds the window's icon
// and up to three frame buttons (some window managers draw minimize, maximize and close
// on every window, whatever it asks for), each taking a square of two lines of that font,
// and one square more for the bar's ends and gaps. A box with the close button alone and
// its title centred (as most desktops draw it) has the same room on either side.
int titleBarMinimumWidth(const QString& title);

}  // namespace kalvo
