// Memory for the decoded text of a long file: one block, written once and then read.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// A block of `size` bytes, not cleared. A large one is asked of the system in huge pages
// where it allows them: the first touch of a page costs a fault, and a list of 100,000
// entries otherwise takes some 1,500 of them at start-up; what is never written is never
// given memory either way.
std::shared_ptr<char[]> textBlock(std::size_t size);

// Texts copied one after another into one block, with a view of each: a list of many
// short texts costs one allocation instead of one per text. The views live as long as
// the block.
struct JoinedTexts {
    std::shared_ptr<const char[]> block;
    std::vector<std::string_view> views;
};
JoinedTexts joinTexts(std::span<const std::string> texts);

}  // namespace kalvo
