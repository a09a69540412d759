// Which lines of a file being written are lines of the file it replaces: a writer that
// keeps the bytes of unchanged lines looks their bytes up through this. Pure, on lines
// already decoded; code page 932 is the writer's business (core/text/cp932.h).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kalvo {

// For each line of `head` followed by `tail`, the index of the line of `source` it
// stands for, or -1: the n-th line of a text stands for the n-th source line of that
// text. The two lists are lined up first, equal lines paired in order as a diff pairs
// them, so that a save that changed a few lines of a long file compares it in one pass;
// only the texts of lines left unpaired are counted through the whole file.
std::vector<std::int32_t> matchSourceLines(std::span<const std::string_view> head,
                                           std::span<const std::string_view> tail,
                                           std::span<const std::string_view> source);

}  // namespace kalvo
