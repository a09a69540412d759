// Reads an event file as the program reads it at start and prints its entries, one a line
// in UTF-8. Exit status 0 when the file reads whole, 1 when it does not (the reason on
// stderr), 2 when it cannot be read at all. With --crlf, every line, the last one
// included, must end in CR LF, as the program writes them: a save cut short leaves a last
// line without its end, which the reader alone would take for an entry.
//
//   event_file_check [--crlf] FILE
#include "core/events/event_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// The 1-based number of the first line that does not end in CR LF, or 0 when all do.
int firstLineWithoutCrLf(std::string_view bytes) {
    int line = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool lf = bytes[i] == '\n';
        if (lf || bytes[i] == '\r') {
            if (!lf && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) return line;  // a lone CR
            if (lf && (i == 0 || bytes[i - 1] != '\r')) return line;                  // a lone LF
            if (!lf) ++i;
            ++line;
        }
    }
    return bytes.empty() || bytes.back() == '\n' ? 0 : line;
}

}  // namespace

int main(int argc, char** argv) {
    bool crlf = false;
    int arg = 1;
    if (arg < argc && std::string_view(argv[arg]) == "--crlf") {
        crlf = true;
        ++arg;
    }
    if (arg + 1 != argc) {
        std::fprintf(stderr, "usage: event_file_check [--crlf] FILE\n");
        return 2;
    }
    std::ifstream in(argv[arg], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[arg]);
        return 2;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[arg]);
        return 2;
    }
    if (crlf) {
        if (const int line = firstLineWithoutCrLf(bytes); line > 0) {
            std::fprintf(stderr, "%s: line %d does not end in CR LF\n", argv[arg], line);
            return 1;
        }
    }
    const kalvo::EventFileRead read = kalvo::readEventBytes(bytes);
    if (read.error != kalvo::EventFileError::None) {
        const std::string why = read.error == kalvo::EventFileError::BadVersion
                                    ? std::string("not an event file (version line)")
                                    : kalvo::unexpectedErrorText(read.error, read.badLine);
        std::fprintf(stderr, "%s: %s\n", argv[arg], why.c_str());
        return 1;
    }
    for (const auto& entry : read.file.entries) std::printf("%s\n", entry.c_str());
    return 0;
}
