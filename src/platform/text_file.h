// Text files in code page 932 (Shift-JIS), as the program's files are stored.
// Lines are handed out and taken in as UTF-8 (see splitLines for the line ends read);
// writing ends every line with CR LF. Paths are the bytes they are on the system.
//
// Reading takes only a regular file of at most kMaxFileBytes, opened without waiting, so
// that a FIFO, a device or an endless file can neither block nor exhaust the program.
// Writing takes no more than that either, so that what is written can be read again.
//
// Writing either puts the whole new content on disk or leaves the old file byte for
// byte and says so, and a kill or a power loss at any moment leaves the old or the new
// content. It normally writes a temporary file in the same folder, flushes it to the
// disk and renames it over the old one (then flushes the folder); when that last flush
// fails, the old content goes back the same way, never by truncating the only copy.
// It writes into the file itself instead when a new file in the folder cannot be made
// (the folder is not writable, the file is), when the file has other hard links, when it
// belongs to another user and only root could give a new file that owner, or when the
// file cannot be renamed over (a mount point, another file system, a refusing file
// system): then a recovery copy goes first into a journal (save_journal.h), and the old
// content is put back when any step fails. A symbolic link stays a link; the file it
// points to is written, but only a link the kernel would follow in a shared folder, and
// never one that points nowhere (file_io.h: resolveLinks). After a save the file keeps its owner, group and mode.
// SIGXFSZ is ignored, so a write past the file size limit fails and is reported.
//
// A save can be told what it expects to find on disk: right before its replace it looks
// again, and writes nothing when another writer got there first.
#pragma once

#include "core/text/cp932.h"

#include <cstddef>
#include <optional>
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
    Unencodable,     // text with a character that code page 932 cannot hold
    NotRegular,      // a FIFO, a device, a socket: never read, never written
    TooLarge,        // more than kMaxFileBytes
    Changed,         // not what the save expected to find right before its replace: nothing written
    NoRecoveryCopy,  // a save into the file itself could not write its journal first: nothing written
    UnsafeLink,      // a link that points nowhere, or one in a shared folder that is not to be followed
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
// Whether the file is a regular file that readFileBytes would read whole and that holds
// exactly `bytes`. Read in pieces: no copy of a long file is made to compare it.
bool fileHolds(const std::string& path, std::string_view bytes);
TextLines readTextFile(const std::string& path);

// The beginning of the name of a save's temporary file beside `fileName` (a random end
// follows): a name that no person or other program chooses.
std::string temporaryNameStem(const std::string& fileName);

struct SaveOptions {
    // When set, the file must still be as expected right before the replace: holding
    // `expected` (nullopt: not existing at all). Otherwise the save returns Changed.
    bool checkExpected = false;
    std::optional<std::string_view> expected;
    // Where a save into the file itself keeps its journal (the user's state folder); with
    // none, such a save is refused with NoRecoveryCopy.
    std::string journalFolder;
};

// Ok, PathNotFound (the folder is gone or is no folder), TooLarge (nothing written),
// Changed, NoRecoveryCopy, UnsafeLink or WriteError.
FileStatus writeFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options = {});
// Unencodable when a line has a character code page 932 cannot hold (nothing written).
FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace kalvo
