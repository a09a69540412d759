#include "core/text/line_match.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

namespace kalvo {
namespace {

// The lines to write: `head`, then `tail`.
struct Lines {
    std::span<const std::string_view> head, tail;
    size_t size() const { return head.size() + tail.size(); }
    std::string_view operator[](size_t k) const { return k < head.size() ? head[k] : tail[k - head.size()]; }
};

// How far apart the two lists may step when they are lined up again after a difference:
// a few lines each for lines changed in place, many for lines added or taken out in one
// place. Beyond that, and once the lining up has cost a few comparisons a line, the
// rest is counted (below) instead.
constexpr size_t kNear = 16;
constexpr size_t kFar = 1024;
constexpr size_t kComparisonsPerLine = 32;

// Where the lists agree again after lines[j] and source[i] differ: the steps (a, b) to
// the nearest equal pair lines[j + a] == source[i + b], changed lines (both steps small)
// first, then lines added (b = 0) or taken out (a = 0) in one place.
std::optional<std::pair<size_t, size_t>> agreeAgain(const Lines& lines, size_t j,
                                                    std::span<const std::string_view> source, size_t i,
                                                    size_t& comparisons) {
    const size_t m = lines.size() - j, n = source.size() - i;
    for (size_t d = 1; d <= 2 * kNear; ++d) {
        for (size_t a = d > kNear ? d - kNear : 0; a <= std::min(d, kNear); ++a) {
            const size_t b = d - a;
            if (a >= m || b >= n) continue;
            ++comparisons;
            if (lines[j + a] == source[i + b]) return std::pair{a, b};
        }
    }
    for (size_t k = kNear + 1; k <= kFar && (k < m || k < n); ++k) {
        comparisons += 2;
        if (k < m && lines[j + k] == source[i]) return std::pair{k, size_t{0}};
        if (k < n && lines[j] == source[i + k]) return std::pair{size_t{0}, k};
    }
    return std::nullopt;
}

// Ranks of one text: its source lines in order, and how many of its lines came so far.
struct Ranks {
    std::vector<size_t> sourceLines;
    size_t used = 0;
};

// For each line, the source line whose bytes it takes, or -1: the n-th line of a text
// takes the n-th source line of that text. The two lists are lined up first, equal lines
// paired in order as a diff pairs them. A text none of whose lines is left unpaired on
// either side has its lines and its source lines paired one to one in order, so its n-th
// line is paired with its n-th source line; only the texts of unpaired lines (changed,
// added, taken out: a few in a save) are counted through the whole file.
std::vector<std::int32_t> sourceLineOf(const Lines& lines, std::span<const std::string_view> source) {
    const size_t m = lines.size(), n = source.size();
    std::vector<std::int32_t> from(m, -1);
    if (n == 0) return from;
    std::unordered_map<std::string_view, Ranks> counted;
    size_t j = 0, i = 0, comparisons = 0;
    const size_t budget = kComparisonsPerLine * (m + n);
    while (j < m && i < n && comparisons <= budget) {
        if (lines[j] == source[i]) {
            from[j++] = static_cast<std::int32_t>(i++);
            continue;
        }
        // Lines that have no partner: a line changed in place when the lists do not
        // agree again near here.
        const auto steps = agreeAgain(lines, j, source, i, comparisons).value_or(std::pair{size_t{1}, size_t{1}});
        for (const size_t end = j + steps.first; j < end; ++j) counted.try_emplace(lines[j]);
        for (const size_t end = i + steps.second; i < end; ++i) counted.try_emplace(source[i]);
    }
    for (; j < m; ++j) counted.try_emplace(lines[j]);
    for (; i < n; ++i) counted.try_emplace(source[i]);
    if (counted.empty()) return from;

    // Most lines are of no counted text; their lengths tell most of them apart at once.
    std::vector<bool> countedLength(256);
    for (const auto& [text, ranks] : counted) countedLength[text.size() % 256] = true;
    const auto find = [&](std::string_view text) {
        return countedLength[text.size() % 256] ? counted.find(text) : counted.end();
    };
    for (size_t k = 0; k < n; ++k)
        if (const auto it = find(source[k]); it != counted.end()) it->second.sourceLines.push_back(k);
    for (size_t k = 0; k < m; ++k) {
        if (const auto it = find(lines[k]); it != counted.end()) {
            Ranks& r = it->second;
            from[k] = r.used < r.sourceLines.size() ? static_cast<std::int32_t>(r.sourceLines[r.used]) : -1;
            ++r.used;
        }
    }
    return from;
}

}  // namespace

std::vector<std::int32_t> matchSourceLines(std::span<const std::string_view> head,
                                           std::span<const std::string_view> tail,
                                           std::span<const std::string_view> source) {
    return sourceLineOf(Lines{head, tail}, source);
}

}  // namespace kalvo
