// Memory for the decoded text of a long file: one block, written once and then read.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// A block of `size` bytes, not cleared, from the block source in use.
std::shared_ptr<char[]> textBlock(std::size_t size);

// Where text blocks come from: the heap, unless the program hands in a source of its own
// (the window program hands in the platform's, which asks the system for huge pages:
// platform/memory.h). Set once at start, before any block is asked for.
using BlockSource = std::shared_ptr<char[]> (*)(std::size_t size);
void setTextBlockSource(BlockSource source);

// Texts copied one after another into one block, with a view of each: a list of many
// short texts costs one allocation instead of one per text. The views live as long as
// the block.
struct JoinedTexts {
    std::shared_ptr<const char[]> block;
    std::vector<std::string_view> views;
};
JoinedTexts joinTexts(std::span<const std::string> texts);

}  // namespace kalvo
