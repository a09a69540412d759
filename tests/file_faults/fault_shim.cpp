/* Failing system calls on demand, for the tests of the file layer. Preloaded into the
 * test program; inert unless KALVO_FAULT names calls to fail, as "call=ERRNO" pairs
 * separated by commas, e.g. "fdatasync=EIO" or "mkostemp=EACCES,fsync=EIO". Each call
 * that fails also counts its failures in KALVO_FAULT_HITS_<call> so a test can see that
 * the fault really reached the code. */
#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int injected(const char* call) {
    const char* wanted = getenv("KALVO_FAULT");
    if (!wanted) return 0;
    const size_t len = strlen(call);
    for (const char* p = wanted; (p = std::strstr(p, call)) != nullptr; p += len) {
        if ((p == wanted || p[-1] == ',') && p[len] == '=') {
            const char* value = p + len + 1;
            int err = EIO;
            if (strncmp(value, "EIO", 3) == 0) err = EIO;
            else if (strncmp(value, "ENOSPC", 6) == 0) err = ENOSPC;
            else if (strncmp(value, "EACCES", 6) == 0) err = EACCES;
            else if (strncmp(value, "EROFS", 5) == 0) err = EROFS;
            else if (strncmp(value, "EDQUOT", 6) == 0) err = EDQUOT;
            char name[64];
            snprintf(name, sizeof(name), "KALVO_FAULT_HITS_%s", call);
            const char* hits = getenv(name);
            char count[16];
            snprintf(count, sizeof(count), "%d", hits ? atoi(hits) + 1 : 1);
            setenv(name, count, 1);
            return err;
        }
    }
    return 0;
}

}  // namespace

#define NEXT(name) (reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)))

extern "C" {

int fdatasync(int fd) {
    const int err = injected("fdatasync");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(fdatasync)(fd);
}

int fsync(int fd) {
    const int err = injected("fsync");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(fsync)(fd);
}

int rename(const char* from, const char* to) {
    const int err = injected("rename");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(rename)(from, to);
}

int mkostemp(char* name, int flags) {
    const int err = injected("mkostemp");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(mkostemp)(name, flags);
}

ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) {
    const int err = injected("pwrite");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(pwrite)(fd, buf, count, offset);
}

/* The large-file names the same calls have when a program is built with 64-bit offsets. */
ssize_t pwrite64(int fd, const void* buf, size_t count, off64_t offset) {
    const int err = injected("pwrite");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(pwrite64)(fd, buf, count, offset);
}

int mkostemp64(char* name, int flags) {
    const int err = injected("mkostemp");
    if (err) {
        errno = err;
        return -1;
    }
    return NEXT(mkostemp64)(name, flags);
}

}  // extern "C"
