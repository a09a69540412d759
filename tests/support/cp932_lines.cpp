#include "support/cp932_lines.h"

#include "core/text/cp932.h"

namespace kalvo {

DecodedLines decodeCp932Lines(std::string_view bytes) {
    const DecodedText text = decodeCp932Text(bytes);
    DecodedLines result;
    result.badLine = text.badLine;
    result.lines.assign(text.lines.begin(), text.lines.end());
    return result;
}

bool encodeCp932Lines(const std::vector<std::string>& lines, std::string& bytes) {
    // CR and LF are the same bytes in both: the lines are encoded in one conversion.
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    bytes.clear();
    return utf8ToCp932(text, bytes);
}

}  // namespace kalvo
