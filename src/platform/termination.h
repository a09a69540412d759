// Requests to end the process from outside the window (SIGTERM, SIGHUP, SIGINT) are
// turned into a call on the window's thread, so the program can end as if its window
// had been closed.
#pragma once

#include <QObject>
#include <functional>

namespace kalvo {

// Installs the signal handlers once; `handler` runs in the event loop of `context`.
void onTerminationRequest(QObject* context, std::function<void()> handler);

// Runs `handler` when the process is ended by a call to exit() while it is armed: from
// inside a library, as Qt's X11 support does when the connection to the X server breaks.
// The process then ends at once with the status the handler returns.
void onExitFromInside(std::function<int()> handler);
// Ends that: the program is ending by its own way (main returns).
void disarmExitHandler();

}  // namespace kalvo
