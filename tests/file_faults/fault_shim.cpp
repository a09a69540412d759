/* Failing, stopping and killing system calls on demand, for the tests of the file layer
 * and of the real program. Preloaded into the program under test; inert unless
 * KALVO_FAULT names calls, as "call=WHAT" pairs separated by commas, e.g.
 * "fdatasync=EIO", "mkostemp=EACCES,fsync=EIO" or "rename=STOP@1".
 *
 *   WHAT is an errno name (the call fails with it), STOP (the process stops itself with
 *   SIGSTOP before the call and makes it when it is continued) or KILL (the process is
 *   killed with SIGKILL before the call). "@N" limits it to the Nth call of that name
 *   (counted from the moment KALVO_FAULT last changed), otherwise every call is hit.
 *   The call name "any" counts every call this library knows, of whatever name, so
 *   "any=KILL@7" kills the process at its seventh such call.
 *
 * Each call that is hit counts its hits in KALVO_FAULT_HITS_<call>, so a test in the same
 * process can see that the fault really reached the code. With KALVO_FAULT_TRACE set to a
 * file name, every call this library knows is appended to that file as a line
 * "<pid> <call> <result>" after it is made (flock's result is "busy" when the lock is
 * held elsewhere), so that a test can follow another process. */
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Counter {
    const char* name;
    int calls;
};

Counter counters[32];
int counterCount = 0;
int anyCalls = 0;
char lastFaults[512];

// Calls are counted per name from the moment KALVO_FAULT last changed.
int& callsOf(const char* call, const char* faults) {
    if (std::strncmp(faults, lastFaults, sizeof lastFaults - 1) != 0) {
        std::strncpy(lastFaults, faults, sizeof lastFaults - 1);
        counterCount = 0;
        anyCalls = 0;
    }
    for (int i = 0; i < counterCount; ++i)
        if (std::strcmp(counters[i].name, call) == 0) return counters[i].calls;
    if (counterCount == 32) return counters[31].calls;
    counters[counterCount] = {call, 0};
    return counters[counterCount++].calls;
}

int errnoNamed(const char* value) {
    static const struct {
        const char* name;
        int err;
    } names[] = {{"EIO", EIO},       {"ENOSPC", ENOSPC}, {"EACCES", EACCES}, {"EROFS", EROFS},
                 {"EDQUOT", EDQUOT}, {"EXDEV", EXDEV},   {"EBUSY", EBUSY},   {"EPERM", EPERM},
                 {"EINVAL", EINVAL}, {"ENOLCK", ENOLCK}, {"EINTR", EINTR}};
    for (const auto& n : names)
        if (std::strncmp(value, n.name, std::strlen(n.name)) == 0) return n.err;
    return EIO;
}

void countHit(const char* call) {
    char name[64];
    std::snprintf(name, sizeof(name), "KALVO_FAULT_HITS_%s", call);
    const char* hits = std::getenv(name);
    char count[16];
    std::snprintf(count, sizeof(count), "%d", hits ? std::atoi(hits) + 1 : 1);
    setenv(name, count, 1);
}

// Whether the pair "name=WHAT[@N]" in the faults hits this call; WHAT is returned.
const char* matching(const char* faults, const char* name, int calls) {
    const size_t len = std::strlen(name);
    for (const char* p = faults; (p = std::strstr(p, name)) != nullptr; p += len) {
        if ((p == faults || p[-1] == ',') && p[len] == '=') {
            const char* value = p + len + 1;
            const char* end = std::strchr(value, ',');
            const char* at = std::strchr(value, '@');
            if (at && (!end || at < end) && std::atoi(at + 1) != calls) continue;
            return value;
        }
    }
    return nullptr;
}

// 0 to make the call, or the errno it fails with. Stops or kills the process when asked.
int injected(const char* call) {
    const char* faults = std::getenv("KALVO_FAULT");
    if (!faults) return 0;
    const int calls = ++callsOf(call, faults);
    ++anyCalls;
    const char* hitName = "any";
    const char* value = matching(faults, "any", anyCalls);
    if (!value) {
        value = matching(faults, call, calls);
        hitName = call;
    }
    if (!value) return 0;
    countHit(hitName);
    if (std::strncmp(value, "STOP", 4) == 0) {
        raise(SIGSTOP);
        return 0;
    }
    if (std::strncmp(value, "KILL", 4) == 0) raise(SIGKILL);
    return errnoNamed(value);
}

template <class Result>
Result traced(const char* call, Result result, int savedErrno) {
    if (const char* file = std::getenv("KALVO_FAULT_TRACE")) {
        char line[128];
        const bool busy = result < 0 && savedErrno == EWOULDBLOCK && std::strcmp(call, "flock") == 0;
        const int n = std::snprintf(line, sizeof line, "%d %s %s\n", static_cast<int>(getpid()), call,
                                    busy ? "busy" : (result < 0 ? "failed" : "ok"));
        using OpenFn = int (*)(const char*, int, ...);
        static const auto realOpen = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "open"));
        using WriteFn = ssize_t (*)(int, const void*, size_t);
        static const auto realWrite = reinterpret_cast<WriteFn>(dlsym(RTLD_NEXT, "write"));
        using CloseFn = int (*)(int);
        static const auto realClose = reinterpret_cast<CloseFn>(dlsym(RTLD_NEXT, "close"));
        const int fd = realOpen(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t written = realWrite(fd, line, static_cast<size_t>(n));
            realClose(fd);
        }
    }
    errno = savedErrno;
    return result;
}

// The mode argument open takes only when it creates a file.
mode_t creationMode(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

#define NEXT(name) (reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)))

// Fails, stops or kills as KALVO_FAULT says, else makes the real call; then traces it.
#define INTERCEPT(label, name, ...)                                     \
    do {                                                                \
        const int err = injected(label);                                \
        if (err) {                                                      \
            return traced(label, decltype(name(__VA_ARGS__))(-1), err); \
        }                                                               \
        const auto result = NEXT(name)(__VA_ARGS__);                    \
        return traced(label, result, errno);                            \
    } while (0)

extern "C" {

int fdatasync(int fd) { INTERCEPT("fdatasync", fdatasync, fd); }
int fsync(int fd) { INTERCEPT("fsync", fsync, fd); }
int rename(const char* from, const char* to) { INTERCEPT("rename", rename, from, to); }
int mkostemp(char* name, int flags) { INTERCEPT("mkostemp", mkostemp, name, flags); }
ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) {
    INTERCEPT("pwrite", pwrite, fd, buf, count, offset);
}
int ftruncate(int fd, off_t length) { INTERCEPT("ftruncate", ftruncate, fd, length); }
int unlink(const char* path) { INTERCEPT("unlink", unlink, path); }
int flock(int fd, int operation) { INTERCEPT("flock", flock, fd, operation); }
int fchmod(int fd, mode_t mode) { INTERCEPT("fchmod", fchmod, fd, mode); }

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = creationMode(flags, args);
    va_end(args);
    INTERCEPT("open", open, path, flags, mode);
}

/* The large-file names the same calls have when a program is built with 64-bit offsets. */
ssize_t pwrite64(int fd, const void* buf, size_t count, off64_t offset) {
    INTERCEPT("pwrite", pwrite64, fd, buf, count, offset);
}
int mkostemp64(char* name, int flags) { INTERCEPT("mkostemp", mkostemp64, name, flags); }
int ftruncate64(int fd, off64_t length) { INTERCEPT("ftruncate", ftruncate64, fd, length); }
int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = creationMode(flags, args);
    va_end(args);
    INTERCEPT("open", open64, path, flags, mode);
}

}  // extern "C"
