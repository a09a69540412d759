#include "core/text/cp932.h"

#include "core/text/text_block.h"

#include <iconv.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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

// The kinds of line end a text holds.
struct LineEnds {
    bool crlf = false, bareLf = false;
};

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Every code page 932 character as UTF-8, as iconv decodes it: one entry per single
// byte and per byte pair, each packed as its length (top byte) and up to three bytes in
// the order they are written (the lowest first). 0 marks what is no character on its
// own (a lead byte, a pair that is none).
class CharacterTable {
public:
    CharacterTable() {
        std::string out;
        for (int b = 0; b < 256; ++b) {
            const char in[1] = {static_cast<char>(b)};
            single_[b] = decode_.run(std::string_view(in, 1), out) ? pack(out) : 0;
            // The decoder copies ASCII as it is; a table where it differs is not used.
            if (b < 0x80 && out != std::string(in, 1)) usable_ = false;
        }
    }
    bool usable() const { return usable_; }

    // Decodes into `out`, which has room for three bytes a byte of `in` and four more;
    // the length written, or nullopt when `in` is not code page 932 (with `bad` set to
    // the offset of the character that is none). The lines ended by LF (without a CR
    // before the LF) go to `lines` as views of `out`, and `ends` tells which ends were
    // seen, as splitLineViews splits.
    std::optional<size_t> decodeInto(std::string_view in, char* out, size_t& bad, std::vector<std::string_view>& lines,
                                     LineEnds& ends) {
        char* d = out;
        char* lineStart = out;
        bool crlf = false, bareLf = false;
        const auto* const begin = reinterpret_cast<const unsigned char*>(in.data());
        const auto* s = begin;
        const auto* const end = s + in.size();
        const auto* const lastWord = in.size() >= 8 ? end - 8 : nullptr;  // where the last whole word starts
        const std::uint32_t* const pairs = pairs_.data();
        constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
        while (s < end) {
            if (*s < 0x80) {
                // A run of ASCII is copied as it is, eight bytes at a time, up to its end
                // or an LF; the bytes after that go along and are written over next.
                if (std::endian::native == std::endian::little && s <= lastWord) {
                    std::uint64_t word;
                    std::memcpy(&word, s, sizeof word);
                    std::memcpy(d, s, sizeof word);
                    const std::uint64_t lf = word ^ (kOnes * '\n');
                    // The lowest byte that is not ASCII or is an LF (bytes above it may be
                    // marked wrongly; they are looked at again).
                    const std::uint64_t stop = (word | ((lf - kOnes) & ~lf)) & kHigh;
                    if (stop == 0) {
                        s += sizeof word;
                        d += sizeof word;
                        continue;
                    }
                    const int skip = std::countr_zero(stop) / 8;
                    s += skip;
                    d += skip;
                    if (*s != '\n') continue;
                } else {
                    *d = static_cast<char>(*s);
                    if (*s != '\n') {
                        ++s, ++d;
                        continue;
                    }
                }
                ++s, ++d;  // the LF, copied
                const bool cr = d - 1 > lineStart && d[-2] == '\r';
                crlf |= cr;
                bareLf |= !cr;
                lines.emplace_back(lineStart, static_cast<size_t>(d - 1 - lineStart) - (cr ? 1 : 0));
                lineStart = d;
                continue;
            }
            std::uint32_t c = single_[*s];
            if (c != 0) {
                ++s;
            } else {
                c = s + 1 == end ? kNoCharacter : pairs[static_cast<size_t>(s[0]) << 8 | s[1]];
                if (c <= kNoCharacter) {
                    if (c == kNotYet) c = lookUp(s[0], s[1]);
                    if (c == kNoCharacter) {
                        bad = static_cast<size_t>(s - begin);
                        return std::nullopt;
                    }
                }
                s += 2;
            }
            if constexpr (std::endian::native == std::endian::little) {
                std::memcpy(d, &c, sizeof c);  // the fourth byte is written over next
            } else {
                d[0] = static_cast<char>(c);
                d[1] = static_cast<char>(c >> 8);
                d[2] = static_cast<char>(c >> 16);
            }
            d += c >> 24;
        }
        if (d > lineStart) lines.emplace_back(lineStart, static_cast<size_t>(d - lineStart));
        ends = LineEnds{crlf, bareLf};
        return static_cast<size_t>(d - out);
    }

private:
    static constexpr std::uint32_t kNotYet = 0;
    static constexpr std::uint32_t kNoCharacter = 1;  // no packed character is 1

    // A pair is looked up through iconv the first time it is met: a file holds a few
    // hundred distinct characters, not all eleven thousand.
    std::uint32_t lookUp(unsigned char lead, unsigned char trail) {
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        std::string out;
        std::uint32_t c = decode_.run(std::string_view(in, 2), out) ? pack(out) : 0;
        if (c == 0) c = kNoCharacter;
        pairs_[static_cast<size_t>(lead << 8 | trail)] = c;
        return c;
    }

    std::uint32_t pack(const std::string& utf8) {
        if (utf8.empty() || utf8.size() > 3) {
            usable_ = false;  // no character of code page 932 needs more; never seen
            return 0;
        }
        std::uint32_t c = static_cast<std::uint32_t>(utf8.size()) << 24;
        for (size_t k = 0; k < utf8.size(); ++k)
            c |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[k])) << (8 * k);
        return c;
    }

    Converter decode_{kUtf8, kCodePage};
    std::uint32_t single_[256] = {};
    std::vector<std::uint32_t> pairs_ = std::vector<std::uint32_t>(65536, kNotYet);
    bool usable_ = true;
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
    const auto buffer = std::make_unique_for_overwrite<char[]>(in.size() * 3 + 4);
    size_t bad = 0;
    std::vector<std::string_view> lines;
    LineEnds ends;
    const auto length = table.decodeInto(in, buffer.get(), bad, lines, ends);
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

namespace {

// The number of the line (from 1) that holds byte `at` of `bytes`.
int lineAt(std::string_view bytes, size_t at) {
    const std::vector<std::string_view> raw = splitLineViews(bytes);
    const auto after = std::upper_bound(raw.begin(), raw.end(), bytes.data() + at,
                                        [](const char* p, std::string_view line) { return p < line.data(); });
    return static_cast<int>(std::max<std::ptrdiff_t>(after - raw.begin(), 1));
}

}  // namespace

DecodedText decodeCp932Text(std::string_view bytes) {
    DecodedText result;
    // A long file goes through the table whole, into one block, and is split into lines
    // as it goes: CR and LF stand for themselves and are never part of a two-byte
    // character, so the decoded text has its line ends where the bytes have them.
    CharacterTable* table = bytes.size() >= kTableFrom ? &characterTable() : nullptr;
    if (table && table->usable()) {
        // At most three bytes of UTF-8 a byte, and room for the stores of the last
        // character; what is not written is never touched.
        std::shared_ptr<char[]> block = textBlock(bytes.size() * 3 + 4);
        size_t bad = 0;
        LineEnds ends;
        // Room for lines of eight bytes and more: the list is never moved as it grows
        // (a move of a long list touches twice its memory, which a start-up feels); the
        // room it does not use is never touched.
        result.lines.reserve(bytes.size() / 8 + 1);
        const auto length = table->decodeInto(bytes, block.get(), bad, result.lines, ends);
        if (length && table->usable()) {
            // CR ends lines too in a file without LF or with both kinds of end.
            if (ends.crlf == ends.bareLf) result.lines = splitLineViews(std::string_view(block.get(), *length));
            result.text = std::move(block);
            return result;
        }
        result.lines.clear();
        if (table->usable()) {
            result.badLine = lineAt(bytes, bad);
            return result;
        }
        // The table cannot be trusted: iconv below decides.
    }
    // The whole file in one conversion: a call per line costs more than the characters
    // in it. Only a file with a bad byte is taken line by line, to name the line.
    {
        std::string text;
        if (Converter(kUtf8, kCodePage).run(bytes, text)) {
            const auto owner = std::make_shared<const std::string>(std::move(text));
            result.lines = splitLineViews(*owner);
            result.text = std::shared_ptr<const char[]>(owner, owner->data());
            return result;
        }
    }
    const std::vector<std::string_view> raw = splitLineViews(bytes);
    Converter decode(kUtf8, kCodePage);
    std::vector<std::string> decoded(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (!decode.run(raw[i], decoded[i])) {
            result.badLine = static_cast<int>(i) + 1;
            return result;
        }
    }
    JoinedTexts joined = joinTexts(decoded);
    result.text = std::move(joined.block);
    result.lines = std::move(joined.views);
    return result;
}

const DecodedText& Cp932File::text() const {
    if (!decoded_) {
        text_ = decodeCp932Text(bytes_);
        decoded_ = true;
    }
    return text_;
}

const std::vector<std::string_view>& Cp932File::raw() const {
    if (!split_) {
        if (text().badLine == 0) raw_ = splitLineViews(bytes_);
        split_ = true;
    }
    return raw_;
}

DecodedLines decodeCp932Lines(std::string_view bytes) {
    const DecodedText text = decodeCp932Text(bytes);
    DecodedLines result;
    result.badLine = text.badLine;
    result.lines.assign(text.lines.begin(), text.lines.end());
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

namespace {

// The lines to write: `head`, then `tail`.
struct Lines {
    std::span<const std::string_view> head, tail;
    size_t size() const { return head.size() + tail.size(); }
    std::string_view operator[](size_t k) const { return k < head.size() ? head[k] : tail[k - head.size()]; }
};

// How far apart the two lists may step when they are lined up again after a difference:
// a few lines each for lines changed in place, many for lines added or taken out in one
// place. Beyond that, and once the lining up has cost a few comparisons a line, the
// rest is counted (below) instead.
constexpr size_t kNear = 16;
constexpr size_t kFar = 1024;
constexpr size_t kComparisonsPerLine = 32;

// Where the lists agree again after lines[j] and source[i] differ: the steps (a, b) to
// the nearest equal pair lines[j + a] == source[i + b], changed lines (both steps small)
// first, then lines added (b = 0) or taken out (a = 0) in one place.
std::optional<std::pair<size_t, size_t>> agreeAgain(const Lines& lines, size_t j,
                                                    std::span<const std::string_view> source, size_t i,
                                                    size_t& comparisons) {
    const size_t m = lines.size() - j, n = source.size() - i;
    for (size_t d = 1; d <= 2 * kNear; ++d) {
        for (size_t a = d > kNear ? d - kNear : 0; a <= std::min(d, kNear); ++a) {
            const size_t b = d - a;
            if (a >= m || b >= n) continue;
            ++comparisons;
            if (lines[j + a] == source[i + b]) return std::pair{a, b};
        }
    }
    for (size_t k = kNear + 1; k <= kFar && (k < m || k < n); ++k) {
        comparisons += 2;
        if (k < m && lines[j + k] == source[i]) return std::pair{k, size_t{0}};
        if (k < n && lines[j] == source[i + k]) return std::pair{size_t{0}, k};
    }
    return std::nullopt;
}

// Ranks of one text: its source lines in order, and how many of its lines came so far.
struct Ranks {
    std::vector<size_t> sourceLines;
    size_t used = 0;
};

// For each line, the source line whose bytes it takes, or -1: the n-th line of a text
// takes the n-th source line of that text. The two lists are lined up first, equal lines
// paired in order as a diff pairs them. A text none of whose lines is left unpaired on
// either side has its lines and its source lines paired one to one in order, so its n-th
// line is paired with its n-th source line; only the texts of unpaired lines (changed,
// added, taken out: a few in a save) are counted through the whole file.
std::vector<std::int32_t> sourceLineOf(const Lines& lines, std::span<const std::string_view> source) {
    const size_t m = lines.size(), n = source.size();
    std::vector<std::int32_t> from(m, -1);
    if (n == 0) return from;
    std::unordered_map<std::string_view, Ranks> counted;
    size_t j = 0, i = 0, comparisons = 0;
    const size_t budget = kComparisonsPerLine * (m + n);
    while (j < m && i < n && comparisons <= budget) {
        if (lines[j] == source[i]) {
            from[j++] = static_cast<std::int32_t>(i++);
            continue;
        }
        // Lines that have no partner: a line changed in place when the lists do not
        // agree again near here.
        const auto steps = agreeAgain(lines, j, source, i, comparisons).value_or(std::pair{size_t{1}, size_t{1}});
        for (const size_t end = j + steps.first; j < end; ++j) counted.try_emplace(lines[j]);
        for (const size_t end = i + steps.second; i < end; ++i) counted.try_emplace(source[i]);
    }
    for (; j < m; ++j) counted.try_emplace(lines[j]);
    for (; i < n; ++i) counted.try_emplace(source[i]);
    if (counted.empty()) return from;

    // Most lines are of no counted text; their lengths tell most of them apart at once.
    std::vector<bool> countedLength(256);
    for (const auto& [text, ranks] : counted) countedLength[text.size() % 256] = true;
    const auto find = [&](std::string_view text) {
        return countedLength[text.size() % 256] ? counted.find(text) : counted.end();
    };
    for (size_t k = 0; k < n; ++k)
        if (const auto it = find(source[k]); it != counted.end()) it->second.sourceLines.push_back(k);
    for (size_t k = 0; k < m; ++k) {
        if (const auto it = find(lines[k]); it != counted.end()) {
            Ranks& r = it->second;
            from[k] = r.used < r.sourceLines.size() ? static_cast<std::int32_t>(r.sourceLines[r.used]) : -1;
            ++r.used;
        }
    }
    return from;
}

}  // namespace

std::string encodeCp932LinesKeeping(std::span<const std::string_view> head, std::span<const std::string_view> tail,
                                    const Cp932File& source) {
    const Lines lines{head, tail};
    const std::vector<std::string_view>& raw = source.raw();
    const std::vector<std::int32_t> from =
        sourceLineOf(lines, std::span(source.text().lines).first(std::min(source.text().lines.size(), raw.size())));
    Converter encode(kCodePage, kUtf8);
    std::string bytes;
    bytes.reserve(source.bytes().size() + 2 * lines.size());
    std::string encoded;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (from[k] >= 0) {
            bytes += raw[static_cast<size_t>(from[k])];
        } else if (encode.run(lines[k], encoded)) {
            bytes += encoded;
        } else {
            encode.run(storableInCp932(std::string(lines[k])), encoded);
            bytes += encoded;
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::string encodeCp932LinesKeeping(const std::vector<std::string>& lines, std::string_view sourceFile) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    return encodeCp932LinesKeeping(views, {}, Cp932File(std::string(sourceFile)));
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
