#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>

namespace kalvo {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// Whether the kernel, protecting shared folders, would follow the link described by
// `link` that lies in `folder`: always, unless the folder is sticky and others may write
// it; then only links of this user or of the folder's owner.
bool followedThere(const std::string& folder, const struct stat& link) {
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0) return false;
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

}  // namespace

LinkTarget resolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        const int found = ::lstat(current.c_str(), &st);
        if (found != 0 || !S_ISLNK(st.st_mode)) {
            const bool dangling = found != 0 && errno == ENOENT && hops > 0;
            return {current, dangling ? LinkProblem::Dangling : LinkProblem::None};
        }
        if (!followedThere(folderOf(current), st)) return {current, LinkProblem::Untrusted};
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size()) return {current};
        target.resize(static_cast<size_t>(n));
        current = (!target.empty() && target[0] == '/') ? target : joinPath(folderOf(current), target);
    }
    return {current};
}

std::string followLinks(const std::string& path) { return resolveLinks(path).path; }

namespace {

bool makeFolders(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) == 0) return true;  // whatever it is, it is judged when opened
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

PrivateFolder openPrivateFolder(const std::string& path, bool create) {
    PrivateFolder folder;
    if (path.empty()) return folder;
    if (create) makeFolders(path);
    folder.fd = Fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.fd.valid()) {
        struct stat st {};
        if (errno == ENOENT) folder.trust = FolderTrust::Missing;
        else if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) folder.trust = FolderTrust::Link;
        else if (errno == ENOTDIR) folder.trust = FolderTrust::NotAFolder;
        return folder;
    }
    struct stat st {};
    if (::fstat(folder.fd.get(), &st) != 0) folder.trust = FolderTrust::Unusable;
    else if (st.st_uid != ::geteuid()) folder.trust = FolderTrust::NotOwned;
    else if (st.st_mode & (S_IWGRP | S_IWOTH)) folder.trust = FolderTrust::OthersCanWrite;
    else folder.trust = FolderTrust::Ok;
    if (!folder.ok()) folder.fd.reset();
    return folder;
}

bool isOwnPrivateFile(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1 && (st.st_mode & 077) == 0;
}

std::string uniqueName(const std::string& stem) {
    static unsigned count = 0;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return stem + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) + "-" +
           std::to_string(++count);
}

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool Fd::close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
}

void Fd::reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool writeAll(int fd, std::string_view bytes, off_t offset) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool overwriteContent(int fd, std::string_view bytes) {
    return writeAll(fd, bytes, 0) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fdatasync(fd) == 0;
}

ReadResult readAll(int fd, std::size_t limit, std::size_t sizeHint, std::string& out) {
    std::string bytes(std::min(sizeHint, limit) + 1, '\0');
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {  // the file grows while it is read
            if (bytes.size() > limit) return ReadResult::TooLarge;
            bytes.resize(std::min(bytes.size() * 2, limit + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadResult::Failed;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    out = std::move(bytes);
    return ReadResult::Ok;
}

bool syncFolder(const std::string& folder) {
    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return false;
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

}  // namespace kalvo
