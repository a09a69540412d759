#include "platform/termination.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace kalvo {
namespace {

int pipeFds[2] = {-1, -1};
std::function<int()>* exitHandler = nullptr;

extern "C" void runExitHandler() {
    std::function<int()>* handler = exitHandler;
    if (!handler) return;
    exitHandler = nullptr;
    const int status = (*handler)();
    std::fflush(nullptr);
    // The rest of the exit would tear down what talks to the lost window system.
    ::_exit(status);
}

// Set from the first request until the event loop takes it: a storm of signals wakes
// the loop once, and the handler writes at most one byte, without waiting, ever.
volatile std::sig_atomic_t pending = 0;

extern "C" void onSignal(int) {
    if (pending) return;
    pending = 1;
    const int saved = errno;
    const char byte = 1;
    // Only an async-signal-safe write here; the rest happens in the event loop. The socket
    // does not block: when it is somehow full, a wake-up is on its way already.
    [[maybe_unused]] const auto written = ::write(pipeFds[0], &byte, 1);
    errno = saved;
}

}  // namespace

void onTerminationRequest(QObject* context, std::function<void()> handler) {
    if (pipeFds[0] != -1) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pipeFds) != 0) return;
    auto* notifier = new QSocketNotifier(pipeFds[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
        char bytes[64];
        while (::read(pipeFds[1], bytes, sizeof bytes) > 0) {
        }
        pending = 0;
        handler();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
}

void onExitFromInside(std::function<int()> handler) {
    static const bool registered = std::atexit(runExitHandler) == 0;
    if (!registered) return;
    delete exitHandler;
    exitHandler = new std::function<int()>(std::move(handler));
}

void disarmExitHandler() {
    delete exitHandler;
    exitHandler = nullptr;
}

}  // namespace kalvo
