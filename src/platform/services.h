// The outside world as the window sees it, handed in at construction so that tests
// can replace any of it.
#pragma once

#include "core/calendar/date_serial.h"
#include "platform/dialogs.h"

#include <functional>
#include <memory>
#include <string>

namespace kalvo {

struct Services {
    std::shared_ptr<Dialogs> dialogs;
    std::function<Serial()> today;  // the current date, no time of day
    // Folders as the bytes the system names them by (see platform/paths.h).
    std::string workDir;     // current working directory: the event file lives here
    std::string programDir;  // the program's own folder: the era files live here
    std::string homeDir;     // where a copy goes when the working folder is gone
    std::string stateDir;    // where a save into the file itself keeps its journal
};

// The real services: message boxes, the system clock, the process's folders.
Services systemServices();

}  // namespace kalvo
