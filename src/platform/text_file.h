// Text files in code page 932 (Shift-JIS), as the program's files are stored.
// Lines are handed out and taken in as UTF-8. Reading accepts CR LF, a lone LF and the
// lone CR of a file that has no LF at all; writing ends every line with CR LF and goes
// through a temporary file that replaces the old one only when everything was written.
#pragma once

#include "platform/cp932.h"

#include <string>
#include <vector>

namespace kalvo {

enum class FileStatus {
    Ok,
    NotFound,      // the file does not exist (its folder does)
    PathNotFound,  // the folder does not exist, or the name is not a usable file name
    ReadError,     // open or read failed for another reason
    BadEncoding,   // bytes that are not code page 932
    WriteError,
    Unencodable,   // text with a character that code page 932 cannot hold
};

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
FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace kalvo
