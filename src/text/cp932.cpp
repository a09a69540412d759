#include "text/cp932.h"

#include <iconv.h>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>

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
        // Code page 932 -> UTF-8 at most triples the bytes (a half-width kana: one byte
        // to three); UTF-8 -> code page 932 never grows them. Left uninitialised: a whole
        // file goes through here at once.
        const size_t room = in.size() * 3 + 16;
        if (room > capacity_) {
            buffer_ = std::make_unique_for_overwrite<char[]>(room);
            capacity_ = room;
        }
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = buffer_.get();
        size_t dstLeft = room;
        bool ok = iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
        if (ok) ok = iconv(cd_, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
        if (!ok) return false;
        out.assign(buffer_.get(), room - dstLeft);
        return true;
    }

private:
    bool opened() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
};

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Every code page 932 character as UTF-8, as iconv decodes it: one entry per single
// byte and per byte pair, each packed as its length (top byte) and up to three bytes.
// 0 marks what is no character on its own (a lead byte, a pair that is none).
class CharacterTable {
public:
    CharacterTable() {
        std::string out;
        for (int b = 0; b < 256; ++b) {
            const char in[1] = {static_cast<char>(b)};
            single_[b] = decode_.run(std::string_view(in, 1), out) ? pack(out) : 0;
            if (b < 0x80 && out != std::string(in, 1)) asciiSame_ = false;
        }
    }
    bool usable() const { return usable_; }

    // Decodes into `out`, which has room for three bytes a byte of `in` and three more;
    // the length written, or nullopt when `in` is not code page 932.
    std::optional<size_t> decodeInto(std::string_view in, char* out) {
        char* d = out;
        const auto* s = reinterpret_cast<const unsigned char*>(in.data());
        const auto* end = s + in.size();
        while (s < end) {
            if (*s < 0x80 && asciiSame_) {
                *d++ = static_cast<char>(*s++);
                continue;
            }
            std::uint32_t c = single_[*s];
            if (c != 0) {
                ++s;
            } else {
                if (end - s < 2) return std::nullopt;
                c = pair(s[0], s[1]);
                if (c == kNoCharacter) return std::nullopt;
                s += 2;
            }
            d[0] = static_cast<char>(c >> 16);
            d[1] = static_cast<char>(c >> 8);
            d[2] = static_cast<char>(c);
            d += c >> 24;
        }
        return static_cast<size_t>(d - out);
    }

private:
    static constexpr std::uint32_t kNotYet = 0;
    static constexpr std::uint32_t kNoCharacter = 1;  // no packed character is 1

    // A pair is looked up through iconv the first time it is met: a file holds a few
    // hundred distinct characters, not all eleven thousand.
    std::uint32_t pair(unsigned char lead, unsigned char trail) {
        std::uint32_t& c = pairs_[static_cast<size_t>(lead << 8 | trail)];
        if (c == kNotYet) {
            const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            std::string out;
            c = decode_.run(std::string_view(in, 2), out) ? pack(out) : 0;
            if (c == 0) c = kNoCharacter;
        }
        return c;
    }

    std::uint32_t pack(const std::string& utf8) {
        if (utf8.empty() || utf8.size() > 3) {
            usable_ = false;  // no character of code page 932 needs more; never seen
            return 0;
        }
        std::uint32_t c = static_cast<std::uint32_t>(utf8.size()) << 24;
        for (size_t k = 0; k < utf8.size(); ++k)
            c |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[k])) << (8 * (2 - k));
        return c;
    }

    Converter decode_{kUtf8, kCodePage};
    std::uint32_t single_[256] = {};
    std::vector<std::uint32_t> pairs_ = std::vector<std::uint32_t>(65536, kNotYet);
    bool usable_ = true;
    bool asciiSame_ = true;  // bytes below 0x80 stand for themselves
};

// One table for the program; its lookups fill it as they go (the program reads on one
// thread).
CharacterTable& characterTable() {
    static CharacterTable table;
    return table;
}

// From this size on a file is decoded through the table.
constexpr size_t kTableFrom = 64 * 1024;

}  // namespace

bool cp932ToUtf8ByTable(std::string_view in, std::string& out) {
    CharacterTable& table = characterTable();
    const auto buffer = std::make_unique_for_overwrite<char[]>(in.size() * 3 + 3);
    const auto length = table.decodeInto(in, buffer.get());
    if (!table.usable()) return Converter(kUtf8, kCodePage).run(in, out);
    if (length) out.assign(buffer.get(), *length);
    return length.has_value();
}

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
    // A long file goes line by line through the table, straight into the lines.
    CharacterTable* table = bytes.size() >= kTableFrom ? &characterTable() : nullptr;
    if (table && table->usable()) {
        const std::vector<std::string_view> raw = splitLineViews(bytes);
        size_t longest = 0;
        for (const auto line : raw) longest = std::max(longest, line.size());
        const auto buffer = std::make_unique_for_overwrite<char[]>(longest * 3 + 3);
        result.lines.reserve(raw.size());
        for (size_t i = 0; i < raw.size(); ++i) {
            const auto length = table->decodeInto(raw[i], buffer.get());
            if (!length) break;
            result.lines.emplace_back(buffer.get(), *length);
        }
        if (result.lines.size() == raw.size() && table->usable()) return result;
        if (table->usable()) {
            result.badLine = static_cast<int>(result.lines.size()) + 1;
            result.lines.clear();
            return result;
        }
        result.lines.clear();  // the table cannot be trusted: iconv below decides
    }
    // The whole file in one conversion: a call per line costs more than the characters
    // in it. Line ends can be split off after decoding, since CR and LF are never part of
    // a two-byte character. Only a file with a bad byte is taken line by line, to name
    // the line.
    {
        std::string text;
        if (Converter(kUtf8, kCodePage).run(bytes, text)) {
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
