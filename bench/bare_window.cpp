// The start-up peer: a bare Qt Widgets window with the same controls, built the same way
// from the same layout table, and nothing else (no files, no era table, no drawing).
#include "window/control_table.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(kalvo::twipsToPixels(kalvo::kClientWidthTwips),
                        kalvo::twipsToPixels(kalvo::kClientHeightTwips));
    window.setWindowTitle(QStringLiteral("bare"));
    kalvo::buildLayout(&window, kalvo::controlTable(), kalvo::captionBuddies(),
                       [](const kalvo::ControlSpec&, QWidget*) {});
    window.show();
    return QApplication::exec();
}
