#include "platform/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

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

}  // namespace

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
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Kalvo") : title);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
        case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
        case Buttons::OK:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            box.setEscapeButton(ok);
            break;
        case Buttons::OKCancel:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
            break;
        case Buttons::YesNo:
            yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
            box.setEscapeButton(no);
            break;
        case Buttons::YesNoCancel:
            yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
            cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
            break;
    }
    box.setDefaultButton(ok ? ok : yes);
    openBoxes.emplace_back(&box);
    box.exec();
    openBoxes.pop_back();
    if (box.closedWithoutButton) return Answer::Closed;
    const auto* clicked = box.clickedButton();
    if (clicked == yes && yes) return Answer::Yes;
    if (clicked == no && no) return Answer::No;
    if (clicked == ok && ok) return Answer::OK;
    return cancel ? Answer::Cancel : (ok ? Answer::OK : Answer::No);
}

}  // namespace kalvo
