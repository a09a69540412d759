// The system calls every file operation of the program is made of: paths as the bytes
// they are, descriptors that close themselves, whole reads and writes, folder flushes.
// Nothing here shows a message or knows the event file.
#pragma once

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

// The file a path names once its symbolic links are followed; a dangling link names the
// file it would point to, so that a save creates it and the link stays.
std::string followLinks(const std::string& path);

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
