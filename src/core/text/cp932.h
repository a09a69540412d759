// Code page 932 (Shift-JIS) text as the program's files hold it, without any file I/O:
// conversion to and from UTF-8, and a file's bytes as lines (cut by splitLines). Pure,
// so the readers' fuzz targets and the benchmarks reach exactly what the program runs.
#pragma once

#include "core/text/text_scan.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// Code page 932 <-> UTF-8 for one piece of text; false when it cannot be converted
// (bytes that are not code page 932, or a character that code page 932 cannot hold).
bool cp932ToUtf8(const std::string& in, std::string& out);
// The same result as cp932ToUtf8, from a table of every character made once (through
// iconv) on first use: several times faster on a long text, but the table costs more
// than a short text does. decodeCp932Lines takes it for long files.
bool cp932ToUtf8ByTable(std::string_view in, std::string& out);
bool utf8ToCp932(const std::string& in, std::string& out);

// Code page 932 -> UTF-8 for many pieces of text in a row, with one converter opened for
// all of them (opening one costs far more than converting a short field).
class Cp932Decoder {
public:
    Cp932Decoder();
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;
    // False when the bytes are not code page 932.
    bool decode(std::string_view in, std::string& out);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A file's bytes as UTF-8 lines; badLine is the 1-based line that is not code page 932
// (0 when every line decoded, and then `lines` holds them all).
struct DecodedLines {
    std::vector<std::string> lines;
    int badLine = 0;
};
DecodedLines decodeCp932Lines(std::string_view bytes);

// The same as one block of UTF-8 text with the lines as views into it: a long file costs
// one allocation instead of one per line. The views live as long as `text`.
struct DecodedText {
    std::shared_ptr<const char[]> text;
    std::vector<std::string_view> lines;
    int badLine = 0;
};
DecodedText decodeCp932Text(std::string_view bytes);

// A file's bytes with its lines, decoded and as they lie in the bytes: what a writer
// that keeps the bytes of unchanged lines looks lines up in. Each is made when first
// asked for, once. The views point into the object, so it is neither copied nor
// moved (it is held through a pointer).
class Cp932File {
public:
    explicit Cp932File(std::string bytes) : bytes_(std::move(bytes)) {}
    Cp932File(const Cp932File&) = delete;
    Cp932File& operator=(const Cp932File&) = delete;

    const std::string& bytes() const { return bytes_; }
    const DecodedText& text() const;
    // The lines as they lie in bytes(), without their ends; none when the bytes are not
    // code page 932.
    const std::vector<std::string_view>& raw() const;

private:
    std::string bytes_;
    mutable bool decoded_ = false, split_ = false;
    mutable DecodedText text_;
    mutable std::vector<std::string_view> raw_;
};

// Lines in code page 932, each ended by CR LF; false when a line has a character that
// code page 932 cannot hold.
bool encodeCp932Lines(const std::vector<std::string>& lines, std::string& bytes);

// The same, but a line whose text is a line of the source file is written with the bytes
// it has there, so that a line nobody changed keeps its bytes (code page 932 has several
// byte pairs for some characters, and iconv writes back only one of them). Equal texts
// take the source's bytes in order: the n-th line of one text gets the bytes of the n-th
// source line of that text, and a text with fewer source lines than lines is encoded
// afresh for the rest. A source that is not code page 932 gives no bytes. A line that
// cannot be encoded gets "?" for the characters code page 932 cannot hold.
std::string encodeCp932LinesKeeping(const std::vector<std::string>& lines, std::string_view sourceFile);
// The same for the lines of `head` followed by those of `tail` (a file's leading lines
// and its list, neither copied), with the source read already.
std::string encodeCp932LinesKeeping(std::span<const std::string_view> head, std::span<const std::string_view> tail,
                                    const Cp932File& source);

// The distinct characters of a UTF-8 text that code page 932 cannot hold, in the order
// they first appear (empty when the whole text can be stored).
std::vector<std::string> unstorableCharacters(const std::string& text);

// The line with every character that code page 932 cannot hold replaced by "?", so that
// one such character does not cost the rest of a file.
std::string storableInCp932(const std::string& line);

}  // namespace kalvo
