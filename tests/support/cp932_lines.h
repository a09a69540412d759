// Lines of code page 932 text as whole strings, for tests and fuzz targets: the program
// decodes a file into one block with views of its lines (decodeCp932Text) and encodes
// keeping the bytes of unchanged lines (encodeCp932LinesKeeping).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// A file's bytes as UTF-8 lines; badLine is the 1-based line that is not code page 932
// (0 when every line decoded, and then `lines` holds them all).
struct DecodedLines {
    std::vector<std::string> lines;
    int badLine = 0;
};
DecodedLines decodeCp932Lines(std::string_view bytes);

// Lines in code page 932, each ended by CR LF; false when a line has a character that
// code page 932 cannot hold.
bool encodeCp932Lines(const std::vector<std::string>& lines, std::string& bytes);

}  // namespace kalvo
