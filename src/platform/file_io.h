// The system calls every file operation of the program is made of: paths as the bytes
// they are, descriptors that close themselves, whole reads and writes, folder flushes.
// Nothing here shows a message or knows the event file.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvo {

// The folder part of a path ("." for a bare name, "/" for a name in the root).
std::string folderOf(const std::string& path);
// The last part of a path.
std::string baseName(const std::string& path);
// folder + "/" + name, without doubling a slash.
std::string joinPath(const std::string& folder, const std::string& name);
bool isFolder(const std::string& path);

// The file a path names once its symbolic links are followed. Links are followed the way
// the kernel follows them with its protection of shared folders on: a link that lies in a
// sticky folder others may write is followed only when it belongs to this user or to the
// folder's owner; otherwise the link itself is the end (Untrusted). A link whose target
// does not exist is Dangling: it names that target, which a save must never create.
enum class LinkProblem { None, Dangling, Untrusted };
struct LinkTarget {
    std::string path;
    LinkProblem problem = LinkProblem::None;
};
LinkTarget resolveLinks(const std::string& path);
// Only the path of resolveLinks.
std::string followLinks(const std::string& path);

// A folder that only this user can change: no symbolic link, owned by the user, and
// writable by neither its group nor others (as ssh and gpg want their folders). What it
// holds is trusted as the user's own; files in it are reached through its descriptor.
enum class FolderTrust { Ok, Missing, NotAFolder, Link, NotOwned, OthersCanWrite, Unusable };
struct PrivateFolder;
PrivateFolder openPrivateFolder(const std::string& path, bool create);
// Whether a file found in such a folder (by fstat or fstatat without following links) is
// one this user made for themselves: a regular file of theirs, with one name, that only
// they can read or write.
bool isOwnPrivateFile(const struct stat& st);
// A name that no other file in the folder has, made of `stem`, the process and a count.
std::string uniqueName(const std::string& stem);

// Closes the descriptor it holds when it goes out of scope (when nobody closed it first).
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd& operator=(Fd&& other) noexcept;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; false when close reports a failure (a delayed write error).
    bool close();
    void reset();

private:
    int fd_;
};

struct PrivateFolder {
    Fd fd;
    FolderTrust trust = FolderTrust::Unusable;
    bool ok() const { return trust == FolderTrust::Ok; }
};

// The whole of `bytes` at `offset`, through short writes and interruptions.
bool writeAll(int fd, std::string_view bytes, off_t offset);

// The descriptor's file holds exactly `bytes` afterwards, flushed to the disk: written
// from the start, cut to its length, data flushed.
bool overwriteContent(int fd, std::string_view bytes);

enum class ReadResult { Ok, Failed, TooLarge };
// Everything from the descriptor's position to its end, at most `limit` bytes;
// `sizeHint` is where the first read buffer ends.
ReadResult readAll(int fd, std::size_t limit, std::size_t sizeHint, std::string& out);

// Flushes a folder's entries to the disk. Some file systems cannot flush a folder
// (EINVAL): nothing more can be done there, and that counts as done.
bool syncFolder(const std::string& folder);

}  // namespace kalvo
