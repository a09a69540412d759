#include "text/cp932.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <iconv.h>

namespace kalvo {
namespace {

constexpr const char* kCodePage = "CP932";
constexpr const char* kUtf8 = "UTF-8";

// One iconv conversion, opened once and used for every line of a file.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (opened()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // False when the text is not valid in the source encoding or has a character that
    // the target encoding cannot hold.
    bool run(std::string_view in, std::string& out) {
        out.clear();
        if (in.empty()) return true;
        if (!opened()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        buffer_.resize(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = buffer_.data();
        size_t dstLeft = buffer_.size();
        bool ok = iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
        if (ok) ok = iconv(cd_, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
        if (!ok) return false;
        out.assign(buffer_.data(), buffer_.size() - dstLeft);
        return true;
    }

private:
    bool opened() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
    std::string buffer_;
};

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

struct Cp932Decoder::Impl {
    Converter converter{kUtf8, kCodePage};
};

Cp932Decoder::Cp932Decoder() : impl_(std::make_unique<Impl>()) {}
Cp932Decoder::~Cp932Decoder() = default;
bool Cp932Decoder::decode(std::string_view in, std::string& out) { return impl_->converter.run(in, out); }

bool cp932ToUtf8(const std::string& in, std::string& out) { return Converter(kUtf8, kCodePage).run(in, out); }
bool utf8ToCp932(const std::string& in, std::string& out) { return Converter(kCodePage, kUtf8).run(in, out); }

DecodedLines decodeCp932Lines(std::string_view bytes) {
    DecodedLines result;
    // The whole file in one conversion: a call per line costs more than the characters
    // in it. Line ends can be split off after decoding, since CR and LF are never part of
    // a two-byte character. Only a file with a bad byte is taken line by line, to name
    // the line.
    {
        Converter decode(kUtf8, kCodePage);
        std::string text;
        if (decode.run(bytes, text)) {
            result.lines = splitLines(text);
            return result;
        }
    }
    auto raw = splitLines(bytes);
    result.lines.reserve(raw.size());
    Converter decode(kUtf8, kCodePage);
    for (size_t i = 0; i < raw.size(); ++i) {
        std::string text;
        if (!decode.run(raw[i], text)) {
            result.badLine = static_cast<int>(i) + 1;
            result.lines.clear();
            return result;
        }
        result.lines.push_back(std::move(text));
    }
    return result;
}

bool encodeCp932Lines(const std::vector<std::string>& lines, std::string& bytes) {
    bytes.clear();
    Converter encode(kCodePage, kUtf8);
    std::string encoded;
    for (const auto& line : lines) {
        if (!encode.run(line, encoded)) return false;
        bytes += encoded;
        bytes += "\r\n";
    }
    return true;
}

std::string encodeCp932LinesKeeping(const std::vector<std::string>& lines, std::string_view sourceFile) {
    // For each text, the source lines that hold it, used up front to back. A source that
    // is not code page 932 gives no bytes.
    DecodedLines source = decodeCp932Lines(sourceFile);
    const std::vector<std::string> raw = source.badLine == 0 ? splitLines(sourceFile) : std::vector<std::string>{};
    std::unordered_map<std::string_view, std::deque<size_t>> sourceOf;
    const size_t known = std::min(source.lines.size(), raw.size());
    for (size_t i = 0; i < known; ++i) sourceOf[source.lines[i]].push_back(i);
    Converter encode(kCodePage, kUtf8);
    std::string bytes;
    std::string encoded;
    for (const auto& line : lines) {
        const auto found = sourceOf.find(line);
        if (found != sourceOf.end() && !found->second.empty()) {
            bytes += raw[found->second.front()];
            found->second.pop_front();
        } else if (encode.run(line, encoded)) {
            bytes += encoded;
        } else {
            encode.run(storableInCp932(line), encoded);
            bytes += encoded;
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<std::string> unstorableCharacters(const std::string& text) {
    std::vector<std::string> found;
    Converter encode(kCodePage, kUtf8);
    std::string encoded;
    if (encode.run(text, encoded)) return found;
    for (size_t i = 0; i < text.size();) {
        const size_t n = std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        std::string one = text.substr(i, n);
        if (!encode.run(one, encoded) && std::find(found.begin(), found.end(), one) == found.end())
            found.push_back(std::move(one));
        i += n;
    }
    return found;
}

std::string storableInCp932(const std::string& line) {
    Converter encode(kCodePage, kUtf8);
    std::string encoded;
    if (encode.run(line, encoded)) return line;
    std::string out;
    for (size_t i = 0; i < line.size();) {
        const size_t n = std::min(sequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
        const std::string one = line.substr(i, n);
        out += encode.run(one, encoded) ? one : std::string("?");
        i += n;
    }
    return out;
}

}  // namespace kalvo
