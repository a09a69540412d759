#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <iconv.h>

namespace kalvo::fuzz {

std::vector<std::string> splitLines(std::string_view bytes) {
    const bool crOnly = bytes.find('\n') == std::string_view::npos && bytes.find('\r') != std::string_view::npos;
    const char end = crOnly ? '\r' : '\n';
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t stop = bytes.find(end, start);
        if (stop == std::string_view::npos) stop = bytes.size();
        const size_t next = stop + 1;
        if (!crOnly && stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes.substr(start, stop - start));
        start = next;
    }
    return lines;
}

std::optional<std::string> fromCp932(std::string_view bytes) {
    static const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in(bytes);
    std::string out(in.size() * 4 + 16, '\0');
    char* src = in.data();
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

void fail(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace kalvo::fuzz
