#include "platform/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kalvo {

Answer MessageBoxDialogs::message(const QString& text, const QString& title, Buttons buttons, Icon icon) {
    QMessageBox box(QApplication::activeWindow());
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
    box.exec();
    const auto* clicked = box.clickedButton();
    if (clicked == yes && yes) return Answer::Yes;
    if (clicked == no && no) return Answer::No;
    if (clicked == ok && ok) return Answer::OK;
    return cancel ? Answer::Cancel : (ok ? Answer::OK : Answer::No);
}

}  // namespace kalvo
