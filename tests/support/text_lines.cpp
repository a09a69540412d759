#include "support/text_lines.h"

#include "support/cp932_lines.h"

namespace kalvo {

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

FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    if (!encodeCp932Lines(lines, bytes)) return FileStatus::Unencodable;
    return writeFileBytes(path, bytes);
}

}  // namespace kalvo
