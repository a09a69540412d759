#include "app/frmKV.h"

#include <QApplication>
#include <QDir>

namespace kalvo {

Services systemServices() {
    Services s;
    s.dialogs = std::make_shared<MessageBoxDialogs>();
    s.today = [] {
        const QDate d = QDate::currentDate();
        return fromYmd(d.year(), d.month(), d.day());
    };
    s.workDir = QDir::currentPath();
    s.programDir = QCoreApplication::applicationDirPath();
    return s;
}

}  // namespace kalvo

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo"));
    kalvo::frmKV window(kalvo::systemServices());
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
