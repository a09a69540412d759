#include "core/layout/caption_lines.h"

#include <algorithm>

namespace kalvo {
namespace {

constexpr std::u16string_view kNoLineStart =
    u"、。，．・？！：；）］｝」』〕ゝゞーァィゥェォッャュョヮヵヶぁぃぅぇぉっゃゅょゎ)]},.?!:;";
constexpr std::u16string_view kNoLineEnd = u"（［｛「『〔([{";

bool isIn(std::u16string_view set, char16_t c) { return set.find(c) != std::u16string_view::npos; }

// A line may break between `before` and `after` (neither a space).
bool breakable(char16_t before, char16_t after) {
    if (isIn(kNoLineStart, after) || isIn(kNoLineEnd, before)) return false;
    return halfEms(before) == 2 || halfEms(after) == 2;
}

}  // namespace

int halfEms(char16_t c) {
    if (c >= 0xFF61 && c <= 0xFFDC) return 1;  // half-width katakana and signs
    return c >= 0x2E80 ? 2 : 1;                // CJK, kana, full-width forms (and surrogates) are full width
}

std::vector<std::u16string> designLines(std::u16string_view caption, int widthHalfEms, int maxLines) {
    std::vector<std::u16string> lines;
    const int width = std::max(1, widthHalfEms);
    std::u16string line;
    int used = 0;
    std::size_t lastBreak = std::u16string::npos;  // index in `line` where it may end
    auto finish = [&](std::size_t end) {
        std::u16string done = line.substr(0, end);
        while (!done.empty() && done.back() == u' ') done.pop_back();
        lines.push_back(done);
        std::u16string rest = line.substr(end);
        const std::size_t first = rest.find_first_not_of(u' ');
        line = first == std::u16string::npos ? std::u16string() : rest.substr(first);
        used = 0;
        for (char16_t c : line) used += halfEms(c);
        lastBreak = std::u16string::npos;
        for (std::size_t i = 1; i < line.size(); ++i)
            if (line[i - 1] == u' ' || (line[i] != u' ' && breakable(line[i - 1], line[i]))) lastBreak = i;
    };
    for (char16_t c : caption) {
        if (c == u'\n') {
            finish(line.size());
            continue;
        }
        if (!line.empty() && (line.back() == u' ' || (c != u' ' && breakable(line.back(), c)))) lastBreak = line.size();
        line.push_back(c);
        used += halfEms(c);
        if (c == u' ') continue;
        // Too wide: end the line at its last break, or where it is full; a character
        // wider than the whole box stands alone on its line.
        while (used > width && line.size() > 1)
            finish(lastBreak != std::u16string::npos && lastBreak > 0 ? lastBreak : line.size() - 1);
    }
    if (!line.empty() || lines.empty()) finish(line.size());
    if (static_cast<int>(lines.size()) > std::max(1, maxLines))
        lines.resize(static_cast<std::size_t>(std::max(1, maxLines)));
    return lines;
}

}  // namespace kalvo
