#include "core/text/text_block.h"

#include <sys/mman.h>
#include <cstdint>

namespace kalvo {

std::shared_ptr<char[]> textBlock(std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    if (size >= kHuge) {
        // Mapped with room to start on a huge page boundary.
        const std::size_t mapped = size + kHuge;
        void* const start = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (start != MAP_FAILED) {
            const auto at = (reinterpret_cast<std::uintptr_t>(start) + kHuge - 1) & ~(kHuge - 1);
            ::madvise(reinterpret_cast<void*>(at), size, MADV_HUGEPAGE);  // a hint: it may be refused
            return std::shared_ptr<char[]>(reinterpret_cast<char*>(at),
                                           [start, mapped](char*) { ::munmap(start, mapped); });
        }
    }
#endif
    return std::make_unique_for_overwrite<char[]>(size);
}

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
