#include "platform/services.h"

#include "platform/paths.h"
#include "window/ui/message_boxes.h"

#include <QDate>

namespace kalvo {

Services systemServices() {
    Services s;
    s.dialogs = std::make_shared<MessageBoxDialogs>();
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
