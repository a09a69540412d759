// The outside world as the window sees it, handed in at construction so that tests
// can replace any of it.
#pragma once

#include "calendar/date_serial.h"
#include "platform/dialogs.h"

#include <QString>
#include <functional>
#include <memory>

namespace kalvo {

struct Services {
    std::shared_ptr<Dialogs> dialogs;
    std::function<Serial()> today;  // the current date, no time of day
    QString workDir;                // current working directory: the event file lives here
    QString programDir;             // the program's own folder: the era files live here
    QString homeDir;                // where a copy goes when the working folder is gone
};

// The real services: message boxes, the system clock, the process's folders.
Services systemServices();

}  // namespace kalvo
