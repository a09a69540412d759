// What the tests with the fault library share: setting KALVO_FAULT for a while, and
// running a piece of a test in a second process that the library can stop or kill at a
// chosen call (see fault_shim.cpp), while the test follows it from the first.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace kalvo::test {

// Sets KALVO_FAULT for its lifetime and tells how often each named call was failed.
class Fault {
public:
    explicit Fault(const char* faults) { ::setenv("KALVO_FAULT", faults, 1); }
    ~Fault() { ::unsetenv("KALVO_FAULT"); }
    Fault(const Fault&) = delete;
    Fault& operator=(const Fault&) = delete;
    static int hits(const char* call) {
        const std::string name = std::string("KALVO_FAULT_HITS_") + call;
        const char* value = std::getenv(name.c_str());
        const int n = value ? std::atoi(value) : 0;
        ::unsetenv(name.c_str());
        return n;
    }
};

// A second process running `work` with KALVO_FAULT set to `faults` (and the trace file,
// when given); it ends with status 0 after the work.
class Child {
public:
    Child(const std::string& faults, const std::function<void()>& work, const std::string& trace = {}) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("KALVO_FAULT", faults.c_str(), 1);
            if (!trace.empty()) ::setenv("KALVO_FAULT_TRACE", trace.c_str(), 1);
            work();
            ::_exit(0);
        }
    }
    ~Child() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    pid_t pid() const { return pid_; }

    // Waits until the process stops itself or ends; true when it is stopped.
    bool waitStoppedOrEnded() {
        if (!stopped_ && !ended_) {
            int status = 0;
            if (::waitpid(pid_, &status, WUNTRACED) == pid_) note(status);
        }
        return stopped_;
    }
    // Whether it is stopped now (without waiting).
    bool stoppedNow() {
        int status = 0;
        if (!stopped_ && !ended_ && ::waitpid(pid_, &status, WUNTRACED | WNOHANG) == pid_) note(status);
        return stopped_;
    }
    void resume() {
        stopped_ = false;
        ::kill(pid_, SIGCONT);
    }
    // Lets it run to its end, continuing it each time it stops.
    void runToEnd() {
        while (!ended_) {
            if (waitStoppedOrEnded()) resume();
        }
    }
    bool killed() const { return ended_ && WIFSIGNALED(status_) && WTERMSIG(status_) == SIGKILL; }
    bool endedWell() const { return ended_ && WIFEXITED(status_) && WEXITSTATUS(status_) == 0; }

private:
    void note(int status) {
        if (WIFSTOPPED(status)) stopped_ = true;
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            ended_ = true;
            status_ = status;
        }
    }
    pid_t pid_ = -1;
    bool stopped_ = false;
    bool ended_ = false;
    int status_ = 0;
};

// Whether a trace file holds the line "<pid> <call> <result>".
inline bool traced(const std::string& trace, pid_t pid, const std::string& callAndResult) {
    std::ifstream in(trace);
    const std::string wanted = std::to_string(pid) + " " + callAndResult;
    for (std::string line; std::getline(in, line);)
        if (line == wanted) return true;
    return false;
}

// Waits (a minute at most) until `ready` holds; false when it never did.
inline bool waitFor(const std::function<bool()>& ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace kalvo::test
