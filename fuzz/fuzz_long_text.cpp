// The decoder of long files on any bytes: a file from 64 KiB on is decoded through a
// table of its characters and split into lines as it goes, while a short one goes to
// iconv whole. Both must give the same lines, and name the same bad line, for the same
// bytes, so the input is put behind enough plain lines to take the long way, and the
// result compared with iconv's on the very same bytes.
#include "support.h"

#include "core/text/cp932.h"
#include "core/text/text_scan.h"

#include <cstdint>
#include <string>

namespace {

using namespace kalvo;

// 64 KiB of lines ended as the first input byte chooses: LF alone or CR LF, so that the
// input's own ends meet both kinds of file.
std::string padded(std::string_view input) {
    const bool crlf = !input.empty() && (static_cast<unsigned char>(input[0]) & 1);
    const std::string line = crlf ? std::string("abcdef\r\n") : std::string("abcdefg\n");
    std::string bytes;
    bytes.reserve(64 * 1024 + input.size());
    while (bytes.size() < 64 * 1024) bytes += line;
    bytes += input;
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string bytes = padded(std::string_view(reinterpret_cast<const char*>(data), size));
    const DecodedText text = decodeCp932Text(bytes);
    if (const auto whole = fuzz::fromCp932(bytes)) {
        FUZZ_CHECK(text.badLine == 0);
        const auto lines = splitLineViews(*whole);
        FUZZ_CHECK(text.lines.size() == lines.size());
        for (size_t i = 0; i < lines.size(); ++i) FUZZ_CHECK(text.lines[i] == lines[i]);
        return 0;
    }
    // The bad line is the first line of the bytes that iconv refuses on its own (the
    // plain lines in front are ASCII and never bad).
    const auto raw = splitLineViews(bytes);
    int bad = 0;
    for (size_t i = 0; i < raw.size() && bad == 0; ++i)
        if (raw[i] != "abcdef" && raw[i] != "abcdefg" && !fuzz::fromCp932(raw[i])) bad = static_cast<int>(i) + 1;
    FUZZ_CHECK(bad != 0);
    FUZZ_CHECK(text.badLine == bad);
    FUZZ_CHECK(text.lines.empty());
    return 0;
}
