// What the fuzz targets share: the file's bytes split into lines and decoded from code
// page 932 as the program's platform layer does it, and a check that stops the run with
// a report when a property of the readers does not hold.
#pragma once

#include "core/text/cp932.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo::fuzz {

// The text in UTF-8, or nullopt when the bytes are not code page 932 (the program's
// own conversion).
std::optional<std::string> fromCp932(std::string_view bytes);

// Runs `check` on the input as raw bytes and, when they are code page 932, on its text.
template <class Check>
int checkBothReadings(const unsigned char* data, size_t size, Check&& check) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(bytes);
    if (const auto text = fromCp932(bytes)) check(std::string_view(*text));
    return 0;
}

[[noreturn]] void fail(const char* file, int line, const char* condition);

}  // namespace kalvo::fuzz

#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition)) ::kalvo::fuzz::fail(__FILE__, __LINE__, #condition); \
    } while (false)
