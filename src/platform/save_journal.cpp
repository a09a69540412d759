#include "platform/save_journal.h"

#include "platform/file_io.h"
#include "platform/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <vector>

namespace kalvo {
namespace {

constexpr std::string_view kMagic = "KALVO-JOURNAL 1\n";
// Both contents of a file at the size limit, and the rest.
constexpr std::size_t kMaxJournalBytes = 2 * kMaxFileBytes + (std::size_t{1} << 16);

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

void putNumberLine(std::string& out, std::string_view key, std::uint64_t value) {
    out += key;
    out += ' ';
    out += std::to_string(value);
    out += '\n';
}

void putBlock(std::string& out, std::string_view key, std::string_view bytes) {
    putNumberLine(out, key, bytes.size());
    out += bytes;
    out += '\n';
}

// Reads "key N\n" at `at`; nullopt when the text there is not that.
std::optional<std::uint64_t> takeNumberLine(std::string_view bytes, size_t& at, std::string_view key) {
    if (bytes.substr(at, key.size()) != key || bytes.substr(at + key.size(), 1) != " ") return std::nullopt;
    const size_t start = at + key.size() + 1;
    const size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;
    std::uint64_t value = 0;
    const auto [ptr, ec] = std::from_chars(bytes.data() + start, bytes.data() + end, value);
    if (ec != std::errc() || ptr != bytes.data() + end) return std::nullopt;
    at = end + 1;
    return value;
}

std::optional<std::string> takeBlock(std::string_view bytes, size_t& at, std::string_view key) {
    const auto length = takeNumberLine(bytes, at, key);
    if (!length || *length > bytes.size() - at || bytes.size() - at - *length < 1) return std::nullopt;
    std::string block(bytes.substr(at, *length));
    at += *length;
    if (bytes[at] != '\n') return std::nullopt;
    ++at;
    return block;
}

// A journal as found in the private folder, read through it without following links:
// whether there is one, whether it is a file of the user's own, and its bytes (empty when
// it could not be read whole, which no journal is).
struct FoundJournal {
    bool exists = false;
    bool own = false;
    std::string bytes;
};

FoundJournal readJournalAt(int folder, const std::string& name) {
    FoundJournal found;
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return found;
    found.exists = true;
    const Fd fd(::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !isOwnPrivateFile(st)) return found;
    found.own = true;
    if (readAll(fd.get(), kMaxJournalBytes, static_cast<size_t>(st.st_size), found.bytes) != ReadResult::Ok)
        found.bytes.clear();
    return found;
}

std::string journalName(const struct stat& file) {
    char name[64];
    std::snprintf(name, sizeof name, "save-%llx-%llx.journal", static_cast<unsigned long long>(file.st_dev),
                  static_cast<unsigned long long>(file.st_ino));
    return name;
}

// Gives `from` the name `to` unless a file has that name already.
bool renameNoReplace(int folder, const std::string& from, const std::string& to) {
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot do that: a second name is never given over an existing one.
    if (::linkat(folder, from.c_str(), folder, to.c_str(), 0) != 0) return false;
    ::unlinkat(folder, from.c_str(), 0);
    return true;
}

void unlinkOwn(int folder, const std::string& name) {
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == ::geteuid())
        ::unlinkat(folder, name.c_str(), 0);
}

// Journals being written when their save was killed: the file was not touched yet.
void removeUnfinished(int folder, const std::string& journal) {
    const int listing = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0) ::close(listing);
        return;
    }
    const std::string prefix = journal + ".new-";
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir))
        if (std::string_view(entry->d_name).starts_with(prefix)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    for (const auto& name : names) {
        struct stat st {};
        if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && isOwnPrivateFile(st))
            ::unlinkat(folder, name.c_str(), 0);
    }
}

}  // namespace

std::string encodeJournal(const Journal& journal) {
    std::string out;
    out.reserve(journal.path.size() + journal.oldBytes.size() + journal.newBytes.size() + 128);
    out += kMagic;
    putNumberLine(out, "dev", journal.dev);
    putNumberLine(out, "ino", journal.ino);
    putBlock(out, "path", journal.path);
    putBlock(out, "old", journal.oldBytes);
    putBlock(out, "new", journal.newBytes);
    char sum[32];
    std::snprintf(sum, sizeof sum, "sum %016llx\n", static_cast<unsigned long long>(fnv1a(out)));
    out += sum;
    return out;
}

std::optional<Journal> parseJournal(std::string_view bytes) {
    if (bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    size_t at = kMagic.size();
    Journal j;
    const auto dev = takeNumberLine(bytes, at, "dev");
    const auto ino = takeNumberLine(bytes, at, "ino");
    if (!dev || !ino) return std::nullopt;
    j.dev = *dev;
    j.ino = *ino;
    auto path = takeBlock(bytes, at, "path");
    auto oldBytes = path ? takeBlock(bytes, at, "old") : std::nullopt;
    auto newBytes = oldBytes ? takeBlock(bytes, at, "new") : std::nullopt;
    if (!newBytes) return std::nullopt;
    char sum[32];
    std::snprintf(sum, sizeof sum, "sum %016llx\n", static_cast<unsigned long long>(fnv1a(bytes.substr(0, at))));
    if (bytes.substr(at) != sum) return std::nullopt;
    j.path = std::move(*path);
    j.oldBytes = std::move(*oldBytes);
    j.newBytes = std::move(*newBytes);
    return j;
}

bool isHalfWritten(std::string_view now, std::string_view oldBytes, std::string_view newBytes) {
    if (now.size() > std::max(oldBytes.size(), newBytes.size())) return false;
    for (size_t i = 0; i < now.size(); ++i) {
        const char c = now[i];
        if (c == 0 || (i < newBytes.size() && c == newBytes[i]) || (i < oldBytes.size() && c == oldBytes[i])) continue;
        return false;
    }
    return true;
}

std::string journalPath(const std::string& folder, const struct stat& file) {
    return joinPath(folder, journalName(file));
}

bool writeJournal(const std::string& folder, const struct stat& file, const Journal& journal) {
    const PrivateFolder dir = openPrivateFolder(folder, true);
    if (!dir.ok()) return false;
    const std::string name = journalName(file);
    const std::string unfinished = uniqueName(name + ".new");
    Fd fd(::openat(dir.fd.get(), unfinished.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) return false;
    const std::string bytes = encodeJournal(journal);
    const bool written = writeAll(fd.get(), bytes, 0) && ::fdatasync(fd.get()) == 0;
    if (!fd.close() || !written || !renameNoReplace(dir.fd.get(), unfinished, name)) {
        ::unlinkat(dir.fd.get(), unfinished.c_str(), 0);
        return false;
    }
    if (::fsync(dir.fd.get()) != 0 && errno != EINVAL) {
        ::unlinkat(dir.fd.get(), name.c_str(), 0);
        return false;
    }
    return true;
}

void removeJournal(const std::string& folder, const struct stat& file) {
    const PrivateFolder dir = openPrivateFolder(folder, false);
    if (!dir.ok()) return;
    unlinkOwn(dir.fd.get(), journalName(file));
    ::fsync(dir.fd.get());
}

bool stateFolderUntrusted(const std::string& folder, FolderTrust& why) {
    if (folder.empty()) return false;
    why = openPrivateFolder(folder, false).trust;
    return why != FolderTrust::Ok && why != FolderTrust::Missing;
}

bool hasJournalFor(const std::string& path, const std::string& folder) {
    const PrivateFolder dir = openPrivateFolder(folder, false);
    if (!dir.ok()) return false;
    struct stat st {};
    if (::stat(followLinks(path).c_str(), &st) != 0) return false;
    struct stat journal {};
    return ::fstatat(dir.fd.get(), journalName(st).c_str(), &journal, AT_SYMLINK_NOFOLLOW) == 0;
}

RecoveryResult recoverInterruptedSave(const std::string& path, const std::string& folder) {
    RecoveryResult result;
    if (folder.empty()) return result;
    const PrivateFolder dir = openPrivateFolder(folder, false);
    if (!dir.ok()) {
        if (dir.trust != FolderTrust::Missing) {
            result.what = Recovery::Untrusted;
            result.trust = dir.trust;
            result.journal = folder;
        }
        return result;
    }
    const std::string target = followLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return result;
    const std::string name = journalName(st);
    removeUnfinished(dir.fd.get(), name);
    const FoundJournal found = readJournalAt(dir.fd.get(), name);
    if (!found.exists) return result;
    result.path = target;
    if (!found.own) {
        result.what = Recovery::Untrusted;
        result.journal = joinPath(folder, name);
        return result;
    }
    const auto journal = parseJournal(found.bytes);
    // The file is known by its inode (its folder may have been renamed since); the content
    // check below tells it from an unrelated file that got the inode of a deleted one.
    Fd fd(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    std::string now;
    if (!fd.valid() || readAll(fd.get(), kMaxFileBytes, static_cast<size_t>(st.st_size), now) != ReadResult::Ok) {
        result.what = Recovery::Failed;
        return result;
    }
    if (!journal) {
        // Damaged, or written by a newer Kalvo: it is kept, under a name that no longer
        // stands in the way of the next save, and the file as found goes with it.
        const std::string aside = uniqueName(name + ".unreadable");
        if (!renameNoReplace(dir.fd.get(), name, aside)) {
            result.what = Recovery::Failed;
            return result;
        }
        ::fsync(dir.fd.get());
        result.what = Recovery::Unreadable;
        result.journal = joinPath(folder, aside);
        result.content = std::move(now);
        return result;
    }
    if (journal->dev != st.st_dev || journal->ino != st.st_ino) {
        // Whole, but for another file that had this device and inode once: that file is gone.
        removeJournal(folder, st);
        result.what = Recovery::Dropped;
        return result;
    }
    if (now == journal->newBytes) {
        removeJournal(folder, st);
        result.what = Recovery::AlreadyDone;
        return result;
    }
    if (!isHalfWritten(now, journal->oldBytes, journal->newBytes)) {
        result.what = Recovery::ChangedSince;
        result.content = journal->newBytes;
        return result;
    }
    if (!overwriteContent(fd.get(), journal->newBytes) || !fd.close()) {
        result.what = Recovery::Failed;
        return result;
    }
    removeJournal(folder, st);
    result.what = Recovery::Completed;
    return result;
}

void dropJournalFor(const std::string& path, const std::string& folder) {
    struct stat st {};
    if (::stat(followLinks(path).c_str(), &st) == 0) removeJournal(folder, st);
}

}  // namespace kalvo
