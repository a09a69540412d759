// The smallest start-up peer: an empty QWidget, shown.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(479, 222);
    window.setWindowTitle(QStringLiteral("empty"));
    window.show();
    return QApplication::exec();
}
