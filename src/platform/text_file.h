// Text files in code page 932 (Shift-JIS), as the program's files are stored.
// Lines are handed out and taken in as UTF-8 (see splitLines for the line ends read);
// writing ends every line with CR LF.
//
// Reading takes only a regular file of at most kMaxFileBytes, opened without waiting, so
// that a FIFO, a device or an endless file can neither block nor exhaust the program.
//
// Writing either puts the whole new content on disk or leaves the old file byte for
// byte and says so. It normally writes a temporary file in the same folder, flushes it
// to the disk and renames it over the old one (then flushes the folder). It writes into
// the file itself instead when a new file in the folder cannot be made (the folder is
// not writable, the file is), when the file has other hard links, or when it belongs to
// another user and only root could give a new file that owner: it then keeps the old
// content in memory and puts it back when any step fails. A symbolic link stays a link;
// the file it points to is written. After a save the file keeps its owner, group and
// mode. SIGXFSZ is ignored, so a write past the file size limit fails and is reported.
#pragma once

#include "text/cp932.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

enum class FileStatus {
    Ok,
    NotFound,      // the file does not exist (its folder does)
    PathNotFound,  // the folder does not exist, or the name is not a usable file name
    ReadError,     // open or read failed for another reason
    BadEncoding,   // bytes that are not code page 932
    WriteError,
    Unencodable,  // text with a character that code page 932 cannot hold
    NotRegular,   // a FIFO, a device, a socket: never read, never written
    TooLarge,     // more than kMaxFileBytes
};

// Far beyond any list a person keeps (a million entries fit), far below what hurts.
inline constexpr std::size_t kMaxFileBytes = std::size_t{32} << 20;

struct TextLines {
    FileStatus status = FileStatus::Ok;
    std::vector<std::string> lines;  // UTF-8, without line ends
    int errorLine = 0;               // 1-based line of a BadEncoding
};

struct FileBytes {
    FileStatus status = FileStatus::Ok;  // never BadEncoding: the bytes are not decoded
    std::string bytes;
};

// The file's bytes as they lie on disk.
FileBytes readFileBytes(const std::string& path);
TextLines readTextFile(const std::string& path);

// Ok, PathNotFound (the folder is gone or is no folder) or WriteError.
FileStatus writeFileBytes(const std::string& path, std::string_view bytes);
// Unencodable when a line has a character code page 932 cannot hold (nothing written).
FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace kalvo
