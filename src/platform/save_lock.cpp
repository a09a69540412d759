#include "platform/save_lock.h"

#include "platform/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <thread>

namespace kalvo {

SaveLock::SaveLock(const std::string& file, std::chrono::milliseconds patience, const std::function<void()>& waiting,
                   const std::function<void()>& waited, const std::function<void()>& tick)
    : folder_(::open(folderOf(followLinks(file)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!folder_.valid()) return;  // no folder to lock (gone, or not readable): the save finds out itself
    const auto deadline = std::chrono::steady_clock::now() + patience;
    bool announced = false;
    for (;;) {
        if (::flock(folder_.get(), LOCK_EX | LOCK_NB) == 0) {
            state_ = State::Held;
            break;
        }
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) {
            state_ = State::Unsupported;  // ENOLCK, EINVAL, EBADF on file systems without flock
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            state_ = State::Busy;
            break;
        }
        if (!announced && waiting) waiting();
        announced = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (tick) tick();
    }
    if (announced && waited) waited();
    if (state_ != State::Held) folder_.reset();
}

void SaveLock::release() {
    folder_.reset();  // closing the only descriptor of the lock releases it
    state_ = State::Unsupported;
}

bool isLeftoverName(const std::string& name, const std::string& fileName) {
    const std::string prefix = temporaryNameStem(fileName);
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

int SaveLock::removeLeftovers(const std::string& file) const {
    if (!held()) return 0;
    const std::string fileName = baseName(followLinks(file));
    // The locked descriptor itself stays open: the listing reads a copy of it.
    const int listing = ::fcntl(folder_.get(), F_DUPFD_CLOEXEC, 0);
    if (listing < 0) return 0;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return 0;
    }
    ::rewinddir(dir);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isLeftoverName(name, fileName)) continue;
        struct stat st {};
        // Only what this user's save made: a regular file of theirs with no second name.
        if (::fstatat(folder_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid() || st.st_nlink != 1)
            continue;
        if (::unlinkat(folder_.get(), name.c_str(), 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace kalvo
