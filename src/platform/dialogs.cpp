#include "platform/dialogs.h"

#include "window/ui/fonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <algorithm>

#include <cstdio>
#include <vector>

namespace kalvo {
namespace {

// A box that knows whether it was closed without a button: Escape and the title bar's
// close button end it as its escape button would, but they are no decision.
class Box : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool closedWithoutButton = false;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) closedWithoutButton = true;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        closedWithoutButton = true;
        QMessageBox::closeEvent(event);
    }
};

// The boxes open now, innermost last.
std::vector<QPointer<Box>> openBoxes;

// Button captions as a Japanese desktop writes them: Y and N answer the box, with or
// without Alt. Escape and the close button answer Closed (see Box), never a button.
const QString kYesCaption = QStringLiteral("はい(&Y)");
const QString kNoCaption = QStringLiteral("いいえ(&N)");
const QString kOkCaption = QStringLiteral("OK");
const QString kCancelCaption = QStringLiteral("キャンセル");

// The window's body text is 9 points; a box's text is never smaller.
constexpr double kLeastPoints = 9.0;

struct BoxButtons {
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

BoxButtons addButtons(QMessageBox& box, Buttons buttons) {
    BoxButtons b;
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) {
        b.yes = box.addButton(kYesCaption, QMessageBox::YesRole);
        b.no = box.addButton(kNoCaption, QMessageBox::NoRole);
    } else {
        b.ok = box.addButton(kOkCaption, QMessageBox::AcceptRole);
    }
    if (buttons == Buttons::OKCancel || buttons == Buttons::YesNoCancel)
        b.cancel = box.addButton(kCancelCaption, QMessageBox::RejectRole);
    box.setEscapeButton(b.cancel ? b.cancel : b.no ? b.no : b.ok);
    box.setDefaultButton(b.ok ? b.ok : b.yes);
    return b;
}

// The box is at least as wide as its title needs: an empty item that wide shares the cell
// of the row of buttons, which spans the box. (QMessageBox lays itself out anew when the
// icon is set, so this comes after.)
void keepTitleWhole(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const int index = grid ? grid->indexOf(box.findChild<QDialogButtonBox*>()) : -1;
    if (index < 0) return;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    const QMargins margins = grid->contentsMargins();
    const int width = titleBarMinimumWidth(box.windowTitle()) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), row, column, rows, columns);
}

// The box as it shows: title, text, icon, the buttons with their access keys, the
// window's Japanese face, and a width that keeps the title whole.
BoxButtons setUpBox(QMessageBox& box, const QString& text, const QString& title, Buttons buttons, Icon icon) {
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Kalvo") : title);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
        case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    box.setFont(messageBoxFont());
    const BoxButtons b = addButtons(box, buttons);
    keepTitleWhole(box);
    return b;
}

Answer answerOf(const QMessageBox& box, const BoxButtons& b) {
    const auto* clicked = box.clickedButton();
    if (clicked == b.yes && b.yes) return Answer::Yes;
    if (clicked == b.no && b.no) return Answer::No;
    if (clicked == b.ok && b.ok) return Answer::OK;
    return b.cancel ? Answer::Cancel : (b.ok ? Answer::OK : Answer::No);
}

}  // namespace

QFont messageBoxFont() {
    QFont font = QApplication::font();
    font.setFamilies(familiesInUse(Face::Gothic));
    if (QFontInfo(font).pointSizeF() < kLeastPoints) font.setPointSizeF(kLeastPoints);
    return font;
}

int titleBarMinimumWidth(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int square = 2 * metrics.height();
    constexpr int kFrameButtons = 3;  // minimize, maximize, close
    return metrics.horizontalAdvance(title) + (kFrameButtons + 2) * square;
}

Answer Dialogs::printUnattended(const QString& text, const QString& title) {
    const QString line = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    std::fprintf(stderr, "kalvo: %s: %s\n", (title.isEmpty() ? QStringLiteral("Kalvo") : title).toStdString().c_str(),
                 line.toStdString().c_str());
    return Answer::Closed;
}

void MessageBoxDialogs::closeOpenBoxes() {
    for (const auto& box : openBoxes) {
        if (!box) continue;
        box->closedWithoutButton = true;
        box->done(QDialog::Rejected);
    }
}

Answer MessageBoxDialogs::message(const QString& text, const QString& title, Buttons buttons, Icon icon) {
    if (!attended()) return printUnattended(text, title);
    Box box(QApplication::activeWindow());
    const BoxButtons b = setUpBox(box, text, title, buttons, icon);
    openBoxes.emplace_back(&box);
    box.exec();
    openBoxes.pop_back();
    if (box.closedWithoutButton) return Answer::Closed;
    return answerOf(box, b);
}

}  // namespace kalvo
