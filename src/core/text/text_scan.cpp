#include "core/text/text_scan.h"

namespace kalvo {

using detail::kIdeographicSpace;

namespace {

// The length in bytes of the blank that ends just before `end`, 0 when none does.
std::size_t blankBefore(std::string_view text, std::size_t end, Blanks blanks) {
    if (end == 0) return 0;
    if (blankAt(text, end - 1, blanks) == 1) return 1;
    const std::size_t n = kIdeographicSpace.size();
    if (blanks == Blanks::Ideographic && end >= n && text.substr(end - n, n) == kIdeographicSpace) return n;
    return 0;
}

}  // namespace

std::string_view trimBlanks(std::string_view text, Blanks blanks) {
    std::size_t start = 0;
    skipBlanks(text, start, blanks);
    text.remove_prefix(start);
    while (const std::size_t n = blankBefore(text, text.size(), blanks)) text.remove_suffix(n);
    return text;
}

std::vector<std::string_view> splitLineViews(std::string_view bytes) {
    // Most files end all their lines alike, in CR LF or in LF: then LF ends a line, with
    // the CR before it, and memchr finds them fast. The same pass sees which ends there are.
    std::vector<std::string_view> lines;
    bool crlf = false;
    bool bareLf = false;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t stop = bytes.find('\n', start);
        if (stop == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        const bool cr = stop > start && bytes[stop - 1] == '\r';
        (cr ? crlf : bareLf) = true;
        lines.emplace_back(bytes.substr(start, (cr ? stop - 1 : stop) - start));
        start = stop + 1;
    }
    const bool noLf = !crlf && !bareLf;
    // CR ends a line on its own in a file without LF and in a file of mixed ends.
    const bool crEnds = noLf || (crlf && bareLf);
    if (!crEnds) return lines;
    lines.clear();
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' && !noLf) ? 2 : 1;
            start = i;
            continue;
        }
        ++i;
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::vector<std::string> splitLines(std::string_view bytes) {
    const std::vector<std::string_view> views = splitLineViews(bytes);
    return {views.begin(), views.end()};
}

}  // namespace kalvo
