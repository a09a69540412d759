// Text files as UTF-8 lines, for tests and benchmarks: the program reads and writes a
// file's bytes (platform/text_file.h) and decodes and encodes them in the core.
#pragma once

#include "platform/text_file.h"

#include <string>
#include <vector>

namespace kalvo {

struct TextLines {
    FileStatus status = FileStatus::Ok;
    std::vector<std::string> lines;  // UTF-8, without line ends
    int errorLine = 0;               // 1-based line of a BadEncoding
};
TextLines readTextFile(const std::string& path);

// Unencodable when a line has a character code page 932 cannot hold (nothing written).
FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace kalvo
