// Requests to end the process from outside the window (SIGTERM, SIGHUP, SIGINT) are
// turned into a call on the window's thread, so the program can end as if its window
// had been closed.
#pragma once

#include <QObject>
#include <functional>

namespace kalvo {

// Installs the signal handlers once; `handler` runs in the event loop of `context`.
void onTerminationRequest(QObject* context, std::function<void()> handler);

}  // namespace kalvo
