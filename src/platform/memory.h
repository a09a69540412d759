// Memory asked of the system directly, for the core's large blocks of text.
#pragma once

#include <cstddef>
#include <memory>

namespace kalvo {

// A block of `size` bytes, not cleared. A large one is asked of the system in huge pages
// where it allows them: the first touch of a page costs a fault, and a list of 100,000
// entries otherwise takes some 1,500 of them at start-up; what is never written is never
// given memory either way. A small one, or one the system refuses, comes from the heap.
// The window program hands it to the core (setTextBlockSource).
std::shared_ptr<char[]> hugePageBlock(std::size_t size);

}  // namespace kalvo
