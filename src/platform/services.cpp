#include "platform/services.h"

#include "platform/paths.h"

#include <QDate>

namespace kalvo {

Services systemServices(std::shared_ptr<Dialogs> dialogs) {
    Services s;
    s.dialogs = std::move(dialogs);
    s.today = [] {
        const QDate d = QDate::currentDate();
        return fromYmd(d.year(), d.month(), d.day());
    };
    s.workDir = currentFolder();
    s.programDir = programFolder();
    s.homeDir = homeFolder();
    s.stateDir = stateFolder(s.homeDir);
    return s;
}

}  // namespace kalvo
