#include "core/text/text_block.h"

namespace kalvo {

namespace {

std::shared_ptr<char[]> heapBlock(std::size_t size) { return std::make_unique_for_overwrite<char[]>(size); }

BlockSource blockSource = heapBlock;

}  // namespace

std::shared_ptr<char[]> textBlock(std::size_t size) { return blockSource(size); }

void setTextBlockSource(BlockSource source) { blockSource = source ? source : heapBlock; }

JoinedTexts joinTexts(std::span<const std::string> texts) {
    std::size_t size = 0;
    for (const std::string& t : texts) size += t.size();
    const std::shared_ptr<char[]> block = textBlock(size);
    JoinedTexts joined;
    joined.views.reserve(texts.size());
    char* at = block.get();
    for (const std::string& t : texts) {
        t.copy(at, t.size());
        joined.views.emplace_back(at, t.size());
        at += t.size();
    }
    joined.block = block;
    return joined;
}

}  // namespace kalvo
