#include "support.h"

#include <cstdio>
#include <cstdlib>

namespace kalvo::fuzz {

std::optional<std::string> fromCp932(std::string_view bytes) {
    std::string text;
    if (!cp932ToUtf8(std::string(bytes), text)) return std::nullopt;
    return text;
}

void fail(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace kalvo::fuzz
