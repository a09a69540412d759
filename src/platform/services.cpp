#include "platform/services.h"

#include <QCoreApplication>
#include <QDate>
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
    s.homeDir = QDir::homePath();
    return s;
}

}  // namespace kalvo
