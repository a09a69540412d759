#include "platform/text_file.h"

#include "platform/file_io.h"
#include "platform/save_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace kalvo {
namespace {

// The file as a save found it when it began: its bytes are those the save expected, or
// a copy when it expected none.
struct Before {
    bool exists = false;
    struct stat st {};
    std::string_view bytes;
    std::string read;
};

// What a stat tells of a file: enough to see that it was replaced or written since.
struct Snapshot {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{}, ctime{};
    bool operator==(const Snapshot& o) const {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return exists == o.exists && (!exists || (dev == o.dev && ino == o.ino && size == o.size &&
                                                  same(mtime, o.mtime) && same(ctime, o.ctime)));
    }
};

Snapshot snapshotOf(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return {};
    return {true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// The last look before a replace, in two steps. First the content: the file still holds
// the bytes the save found (or is still missing), and, when `same` is given, is still
// that file and not one renamed into its place; the result is the file's stat as it was
// before that read. Then, right before the replace, `unchangedSince` only compares a new
// stat with it: a file renamed into place or written meanwhile has another inode, size
// or time. (A write in the same clock tick as the file's previous one keeps its times;
// the content look covers that up to its read.)
std::optional<Snapshot> stillAsBefore(const std::string& target, const Before& before,
                                      const struct stat* same = nullptr) {
    const Snapshot look = snapshotOf(target);
    if (!before.exists) {
        if (readFileBytes(target).status != FileStatus::NotFound) return std::nullopt;
        return look;
    }
    if (!fileHolds(target, before.bytes)) return std::nullopt;
    if (same && (look.dev != same->st_dev || look.ino != same->st_ino)) return std::nullopt;
    return look;
}

bool unchangedSince(const std::string& target, const std::optional<Snapshot>& look) {
    return look && snapshotOf(target) == *look;
}

// A rename that cannot replace this name (a mount point, another file system, a file
// system or security module that refuses it) while the file itself may still be written.
bool renameRefused(int error) {
    switch (error) {
        case EBUSY:
        case EXDEV:
        case EPERM:
        case EACCES:
        case EINVAL:
        case ENOTSUP:
        case ETXTBSY: return true;
        default: return false;
    }
}

enum class Replace { Done, Failed, Changed, NoTemporaryFile, RenameRefused };

// Gives the temporary file the old file's owner, group and mode, or the mode a new file gets.
bool takeOverOwnerAndMode(int fd, const Before& before) {
    mode_t mode = 0;
    if (before.exists) {
        mode = before.st.st_mode & 07777;
        // Only root may give the file back to its owner; a user keeps their own file and
        // its group when they belong to it.
        if (::geteuid() == 0) {
            if (::fchown(fd, before.st.st_uid, before.st.st_gid) != 0) return false;
        } else if (before.st.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), before.st.st_gid);
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::fchmod(fd, mode) == 0;
}

// Temporary file, flush, a last look at the file, rename, flush of the folder. The old
// file is untouched unless the rename happened; when the folder flush after it fails,
// the old content goes back under the name the same way (`restoring`: this is that).
Replace replaceFile(const std::string& target, std::string_view bytes, const Before& before, bool restoring = false) {
    const std::string folder = folderOf(target);
    std::string temporary = joinPath(folder, temporaryNameStem(baseName(target)) + "XXXXXX");
    Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) return Replace::NoTemporaryFile;
    const auto fail = [&](Replace why = Replace::Failed) {
        ::unlink(temporary.c_str());
        return why;
    };
    if (!takeOverOwnerAndMode(fd.get(), before)) return fail();
    if (!writeAll(fd.get(), bytes, 0)) return fail();
    if (::fdatasync(fd.get()) != 0) return fail();
    if (!fd.close()) return fail();
    // The last look: another writer (one that takes no lock) may have written meanwhile.
    if (!restoring) {
        const auto look = stillAsBefore(target, before);
        if (!unchangedSince(target, look)) return fail(Replace::Changed);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(renameRefused(errno) ? Replace::RenameRefused : Replace::Failed);
    if (syncFolder(folder)) return Replace::Done;
    // The new name may not be on disk. Put the old content back under it, so what the
    // user is told (the save failed) is what lies there.
    if (!restoring && before.exists) replaceFile(target, before.bytes, before, true);
    return Replace::Failed;
}

// Writes into the file itself, after its journal is on disk; on any failure the old
// content goes back (and when even that fails, the journal stays for the next start).
FileStatus overwriteInPlace(const std::string& target, std::string_view bytes, const Before& before,
                            const std::string& journalFolder) {
    if (journalFolder.empty()) return FileStatus::NoRecoveryCopy;
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid()) return FileStatus::WriteError;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return FileStatus::WriteError;
    Journal journal{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), target,
                    std::string(before.bytes), std::string(bytes)};
    if (!writeJournal(journalFolder, st, journal)) return FileStatus::NoRecoveryCopy;
    const auto look = stillAsBefore(target, before, &st);
    if (!unchangedSince(target, look)) {
        removeJournal(journalFolder, st);
        return FileStatus::Changed;
    }
    if (overwriteContent(fd.get(), bytes) && fd.close()) {
        removeJournal(journalFolder, st);
        return FileStatus::Ok;
    }
    if (fd.valid() && overwriteContent(fd.get(), before.bytes)) removeJournal(journalFolder, st);
    return FileStatus::WriteError;
}

void ignoreFileSizeSignal() {
    static const bool once = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)once;
}

}  // namespace

std::string temporaryNameStem(const std::string& fileName) { return "." + fileName + ".kalvo-save-"; }

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
    switch (readAll(fd.get(), kMaxFileBytes, static_cast<size_t>(st.st_size), result.bytes)) {
        case ReadResult::Ok: break;
        case ReadResult::TooLarge: result.status = FileStatus::TooLarge; break;
        case ReadResult::Failed: result.status = FileStatus::ReadError; break;
    }
    return result;
}

bool fileHolds(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/' || bytes.size() > kMaxFileBytes) return false;
    const Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) != bytes.size())
        return false;
    char piece[64 * 1024];
    std::size_t got = 0;
    for (;;) {
        const ssize_t n = ::read(fd.get(), piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return got == bytes.size();
        const auto count = static_cast<std::size_t>(n);
        if (count > bytes.size() - got || std::memcmp(piece, bytes.data() + got, count) != 0) return false;
        got += count;
    }
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

FileStatus writeFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options) {
    ignoreFileSizeSignal();
    if (bytes.size() > kMaxFileBytes) return FileStatus::TooLarge;  // it could not be read again
    if (path.empty() || path.back() == '/') return FileStatus::PathNotFound;
    // A link is followed only where the kernel of a careful system would follow it, and a
    // link that points nowhere never makes the file it names.
    const LinkTarget link = resolveLinks(path);
    if (link.problem != LinkProblem::None) return FileStatus::UnsafeLink;
    const std::string target = link.path;
    if (!isFolder(folderOf(target))) return FileStatus::PathNotFound;
    Before before;
    before.exists = ::stat(target.c_str(), &before.st) == 0;
    if (!before.exists && errno != ENOENT) return FileStatus::WriteError;
    if (before.exists && !S_ISREG(before.st.st_mode)) return FileStatus::WriteError;
    if (before.exists && ::access(target.c_str(), W_OK) != 0) return FileStatus::WriteError;  // read-only stays so
    if (before.exists && options.checkExpected && options.expected && fileHolds(target, *options.expected)) {
        before.bytes = *options.expected;  // what the caller knows it to hold: no copy
    } else if (before.exists) {
        FileBytes old = readFileBytes(target);
        if (old.status != FileStatus::Ok) return FileStatus::WriteError;
        before.read = std::move(old.bytes);
        before.bytes = before.read;
    }
    if (options.checkExpected &&
        (options.expected ? !before.exists || before.bytes != *options.expected : before.exists))
        return FileStatus::Changed;

    const bool otherOwner = before.exists && ::geteuid() != 0 && before.st.st_uid != ::geteuid();
    const bool inPlace = before.exists && (before.st.st_nlink > 1 || otherOwner);
    if (!inPlace) {
        switch (replaceFile(target, bytes, before)) {
            case Replace::Done: return FileStatus::Ok;
            case Replace::Failed: return FileStatus::WriteError;
            case Replace::Changed: return FileStatus::Changed;
            case Replace::NoTemporaryFile:
                if (!isFolder(folderOf(target))) return FileStatus::PathNotFound;
                [[fallthrough]];
            case Replace::RenameRefused:
                if (!before.exists) return FileStatus::WriteError;
                break;  // the name cannot be replaced; the file itself may still be written
        }
    }
    return overwriteInPlace(target, bytes, before, options.journalFolder);
}

FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    if (!encodeCp932Lines(lines, bytes)) return FileStatus::Unencodable;
    return writeFileBytes(path, bytes);
}

}  // namespace kalvo
