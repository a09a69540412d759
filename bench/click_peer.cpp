// The click peer: a bare window of Kalvo's size with one QPushButton where Kalvo has its
// day "+" button and a QLabel whose text the button changes. Its window stands to the
// right of Kalvo's, so that both can be clicked in turn in one run.
#include "window/ui/layout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(kalvo::twipsToPixels(kalvo::kClientWidthTwips),
                        kalvo::twipsToPixels(kalvo::kClientHeightTwips));
    window.move(520, 96);
    window.setWindowTitle(QStringLiteral("click peer"));
    auto* button = new QPushButton(QStringLiteral("+"), &window);
    // Where the day "+" button of the upper panel stands (6000, 570, 360, 285 twips).
    button->setGeometry(kalvo::twipsToPixels(6000), kalvo::twipsToPixels(570), kalvo::twipsToPixels(360),
                        kalvo::twipsToPixels(285));
    auto* label = new QLabel(QStringLiteral("0"), &window);
    label->setGeometry(20, 20, 200, 30);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, label, [&] { label->setNum(++clicks); });
    window.show();
    return QApplication::exec();
}
