#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace kalvo {
namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Closes the descriptor it holds when it goes out of scope (when nobody closed it first).
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

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

// Some file systems cannot flush a folder (EINVAL): nothing more can be done there.
bool syncFolder(const std::string& folder) {
    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return false;
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

// The file a path names once its symbolic links are followed; a dangling link names the
// file it would point to, so that the save creates it and the link stays.
std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size()) return current;
        target.resize(static_cast<size_t>(n));
        current = (!target.empty() && target[0] == '/') ? target : folderOf(current) + "/" + target;
    }
    return current;
}

enum class Replace { Done, Failed, NoTemporaryFile };

// Temporary file, flush, rename, flush of the folder. The old file is untouched unless
// the rename happened; a failure after it puts the old content back into the new file.
Replace replaceFile(const std::string& target, std::string_view bytes, const struct stat* old,
                    const std::string* oldBytes) {
    const std::string folder = folderOf(target);
    const std::string name = target.substr(target.find_last_of('/') + 1);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) return Replace::NoTemporaryFile;
    const auto fail = [&] {
        ::unlink(temporary.c_str());
        return Replace::Failed;
    };
    mode_t mode = 0;
    if (old) {
        mode = old->st_mode & 07777;
        // Only root may give the file back to its owner; a user keeps their own file and
        // its group when they belong to it.
        if (::geteuid() == 0) {
            if (::fchown(fd.get(), old->st_uid, old->st_gid) != 0) return fail();
        } else if (old->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), static_cast<uid_t>(-1), old->st_gid);
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd.get(), mode) != 0) return fail();
    if (!writeAll(fd.get(), bytes, 0)) return fail();
    if (::fdatasync(fd.get()) != 0) return fail();
    if (!fd.close()) return fail();
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail();
    if (syncFolder(folder)) return Replace::Done;
    // The new name may not be on disk. Put the old content back under it, so what the
    // user is told (the save failed) is what lies there.
    if (oldBytes) {
        const Fd back(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        if (back.valid() && writeAll(back.get(), *oldBytes, 0)) ::fdatasync(back.get());
    }
    return Replace::Failed;
}

// Writes into the file itself; on any failure the old content goes back.
bool overwriteInPlace(const std::string& target, std::string_view bytes, const std::string& oldBytes) {
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (writeAll(fd.get(), bytes, 0) && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
        ::fdatasync(fd.get()) == 0) {
        return fd.close();
    }
    if (writeAll(fd.get(), oldBytes, 0) && ::ftruncate(fd.get(), static_cast<off_t>(oldBytes.size())) == 0)
        ::fdatasync(fd.get());
    return false;
}

void ignoreFileSizeSignal() {
    static const bool once = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)once;
}

}  // namespace

FileBytes readFileBytes(const std::string& path) {
    FileBytes result;
    if (path.empty() || path.back() == '/') {
        result.status = FileStatus::PathNotFound;
        return result;
    }
    // Without waiting: opening a FIFO that nobody writes would block for ever.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid()) {
        if (errno == ENOENT) result.status = isFolder(folderOf(path)) ? FileStatus::NotFound : FileStatus::PathNotFound;
        else result.status = errno == ENOTDIR ? FileStatus::PathNotFound : FileStatus::ReadError;
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) {
        result.status = FileStatus::ReadError;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = FileStatus::NotRegular;
        return result;
    }
    if (static_cast<std::size_t>(st.st_size) > kMaxFileBytes) {
        result.status = FileStatus::TooLarge;
        return result;
    }
    std::string bytes(static_cast<size_t>(st.st_size) + 1, '\0');
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {  // the file grows while it is read
            if (bytes.size() > kMaxFileBytes) {
                result.status = FileStatus::TooLarge;
                return result;
            }
            bytes.resize(std::min(bytes.size() * 2, kMaxFileBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.status = FileStatus::ReadError;
            return result;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    result.bytes = std::move(bytes);
    return result;
}

TextLines readTextFile(const std::string& path) {
    TextLines result;
    FileBytes file = readFileBytes(path);
    if (file.status != FileStatus::Ok) {
        result.status = file.status;
        return result;
    }
    DecodedLines decoded = decodeCp932Lines(file.bytes);
    if (decoded.badLine > 0) {
        result.status = FileStatus::BadEncoding;
        result.errorLine = decoded.badLine;
        return result;
    }
    result.lines = std::move(decoded.lines);
    return result;
}

FileStatus writeFileBytes(const std::string& path, std::string_view bytes) {
    ignoreFileSizeSignal();
    if (path.empty() || path.back() == '/') return FileStatus::PathNotFound;
    const std::string target = followLinks(path);
    if (!isFolder(folderOf(target))) return FileStatus::PathNotFound;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return FileStatus::WriteError;
    if (exists && !S_ISREG(st.st_mode)) return FileStatus::WriteError;
    if (exists && ::access(target.c_str(), W_OK) != 0) return FileStatus::WriteError;  // read-only stays so

    std::string oldBytes;
    if (exists) {
        const FileBytes old = readFileBytes(target);
        if (old.status != FileStatus::Ok) return FileStatus::WriteError;
        oldBytes = old.bytes;
    }
    const bool otherOwner = exists && ::geteuid() != 0 && st.st_uid != ::geteuid();
    const bool inPlace = exists && (st.st_nlink > 1 || otherOwner);
    if (!inPlace) {
        switch (replaceFile(target, bytes, exists ? &st : nullptr, exists ? &oldBytes : nullptr)) {
            case Replace::Done: return FileStatus::Ok;
            case Replace::Failed: return FileStatus::WriteError;
            case Replace::NoTemporaryFile:
                if (!isFolder(folderOf(target))) return FileStatus::PathNotFound;
                if (!exists) return FileStatus::WriteError;
                break;  // the folder takes no new file; the file itself may still be written
        }
    }
    return overwriteInPlace(target, bytes, oldBytes) ? FileStatus::Ok : FileStatus::WriteError;
}

FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    if (!encodeCp932Lines(lines, bytes)) return FileStatus::Unencodable;
    return writeFileBytes(path, bytes);
}

}  // namespace kalvo
