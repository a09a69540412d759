#include "core/events/event_file.h"

#include "core/events/event_entry.h"
#include "core/text/cp932.h"
#include "core/text/text_block.h"
#include "core/text/text_scan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace kalvo {
namespace {

constexpr std::string_view kDefaultHeader = "' Kalvo 何の日？ 設定ファイル";
constexpr std::string_view kDefaultComment = "' 以下は形式を守れば 追加・変更しても OK！";

// Rounds half to even, as whole-number conversions of stored values always have.
std::optional<long long> wholeNumber(std::optional<double> value) {
    if (!value) return std::nullopt;
    const double r = std::nearbyint(*value);
    if (!(std::fabs(r) < 9.0e15)) return std::nullopt;
    return static_cast<long long>(r);
}

std::optional<float> readTwips(std::string_view text) {
    const auto v = readNumber(text);
    if (!v || std::fabs(*v) > static_cast<double>(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(*v);
}

std::string formatFloat(std::optional<float> value) {
    if (!value || !std::isfinite(*value)) return "0";
    char buffer[64];
    // Plain digits even where the exponent form would be shorter ("300000", not "3e+05").
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, *value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// An LF inside a text would shift every later line of the file. A CR alone stays: in a
// file whose lines all end in CR LF, as this writer makes them, it is part of its line.
std::string oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n') c = ' ';
    return line;
}

}  // namespace

EventFile defaultEventFile(const std::string& version) {
    EventFile f;
    f.header = kDefaultHeader;
    f.version = version;
    f.comment = kDefaultComment;
    f.entries = {
        "  2010年まで     @2010/1/1",
        "  \xE3\x80\x80*今日の日付          @TODAY",
        "機種変更 [DI-VA210]   @2003/9/14",
        "関東大震災       @1923/9/1",
    };
    return f;
}

int errorNumber(EventFileError error) {
    switch (error) {
        case EventFileError::ReadFailed: return 101;
        case EventFileError::ShortFile: return 102;
        case EventFileError::ShortWindowLine: return 103;
        case EventFileError::NoSuchEraTable: return 104;
        case EventFileError::BadEncoding: return 105;
        default: return 0;
    }
}

std::string errorDescription(EventFileError error, int badLine) {
    switch (error) {
        case EventFileError::ReadFailed: return "設定ファイルを開けないか、読み込めませんでした。";
        case EventFileError::ShortFile: return "設定ファイルが途中で終わっています（7行に足りません）。";
        case EventFileError::ShortWindowLine: return "設定ファイルの3行目の値が4つに足りません。";
        case EventFileError::NoSuchEraTable: return "設定ファイルの3行目の年号表の番号が正しくありません。";
        case EventFileError::BadEncoding:
            if (badLine > 0)
                return "設定ファイルの" + std::to_string(badLine) + "行目に Shift_JIS でない文字があります。";
            return "設定ファイルに Shift_JIS でない文字があります。";
        default: return {};
    }
}

std::string unexpectedErrorText(EventFileError error, int badLine) {
    return "予期しないエラー＃ " + std::to_string(errorNumber(error)) + " が発生しました！" +
           errorDescription(error, badLine);
}

std::vector<std::string> splitValues(std::string_view line) {
    std::vector<std::string> values;
    if (trimBlanks(line).empty()) return values;
    size_t pos = 0;
    while (true) {
        skipBlanks(line, pos);
        std::string value;
        if (pos < line.size() && line[pos] == '"') {
            const size_t close = line.find('"', pos + 1);
            const size_t end = close == std::string_view::npos ? line.size() : close;
            value.assign(line.substr(pos + 1, end - pos - 1));
            pos = close == std::string_view::npos ? line.size() : close + 1;
            // Whatever stands between the closing quote and the next comma is dropped.
            const size_t comma = line.find(',', pos);
            pos = comma == std::string_view::npos ? line.size() : comma;
        } else {
            const size_t comma = line.find(',', pos);
            const size_t end = comma == std::string_view::npos ? line.size() : comma;
            value.assign(trimBlanks(line.substr(pos, end - pos)));
            pos = end;
        }
        values.push_back(std::move(value));
        if (pos >= line.size()) break;
        ++pos;  // the comma
    }
    return values;
}

std::optional<double> readNumber(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Digits or a point must come first: no second sign, no "inf" or "nan".
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

bool versionAccepted(std::string_view version) {
    if (version.empty() || version.front() != 'V') return false;
    size_t characters = 0;
    for (const char c : version)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    return characters >= 4;
}

namespace {

// The seven leading lines (the first seven of `lines`, or all when there are fewer); false
// when reading stops there, with the error and the reach set.
bool readLeadingLines(std::span<const std::string_view> lines, EventFileRead& r) {
    EventFile& f = r.file;
    if (!lines.empty()) f.header = lines[0];
    if (lines.size() > 1) f.version = lines[1];
    if (lines.size() < 3) {
        r.error = EventFileError::ShortFile;
        return false;
    }
    const auto values = splitValues(lines[2]);
    if (values.size() < 4) {
        r.error = EventFileError::ShortWindowLine;
        return false;
    }
    if (lines.size() < 7) {
        r.error = EventFileError::ShortFile;
        return false;
    }
    if (!versionAccepted(f.version)) {
        r.error = EventFileError::BadVersion;
        return false;
    }

    const auto mode = wholeNumber(readNumber(values[2]));
    f.sizeMode = (mode && *mode >= 0 && *mode <= 4) ? static_cast<int>(*mode) : 0;
    f.startDate = lines[4];
    f.startEntry = lines[5];
    f.comment = lines[6];
    r.reach = ReadReach::Settings;

    if (const auto table = readNumber(values[3])) {
        if (!(*table == 0.0 || *table == 1.0 || *table == 2.0)) {
            r.error = EventFileError::NoSuchEraTable;
            return false;
        }
        f.eraTable = static_cast<int>(*table);
    } else {
        f.eraTable = 2;
    }

    const auto flags = wholeNumber(readNumber(lines[3]));
    const bool flagsFit =
        flags && *flags >= std::numeric_limits<int>::min() && *flags <= std::numeric_limits<int>::max();
    f.flags = flagsFit ? static_cast<int>(*flags) : 0;
    f.top = readTwips(values[0]);
    f.left = readTwips(values[1]);
    return true;
}

constexpr size_t kLeadingLines = 7;

std::vector<std::string> leadingLines(const EventFile& f) {
    std::vector<std::string> lines;
    lines.push_back(oneLine(f.header));
    lines.push_back(oneLine(f.version));
    lines.push_back(formatFloat(f.top) + "," + formatFloat(f.left) + "," + std::to_string(f.sizeMode) + "," +
                    std::to_string(f.eraTable));
    // The blank before a number is the place of its sign.
    lines.push_back((f.flags < 0 ? "" : " ") + std::to_string(f.flags) + " ");
    lines.push_back(oneLine(f.startDate));
    lines.push_back(oneLine(f.startEntry));
    lines.push_back(oneLine(f.comment));
    return lines;
}

}  // namespace

SharedEntries shareEntries(const std::vector<std::string>& entries) {
    JoinedTexts joined = joinTexts(entries);
    return SharedEntries{std::move(joined.block), {}, std::move(joined.views)};
}

EventFileRead readEventText(const DecodedText& text, std::shared_ptr<const void> owner, SharedEntries& entries) {
    EventFileRead r;
    if (text.badLine > 0) {
        r.error = EventFileError::BadEncoding;
        r.badLine = text.badLine;
        return r;
    }
    const std::span<const std::string_view> lines(text.lines);
    if (!readLeadingLines(lines.first(std::min(lines.size(), kLeadingLines)), r)) return r;
    const auto rest = lines.subspan(kLeadingLines);
    const auto firstOther = std::find_if_not(rest.begin(), rest.end(), isEntryLine);
    entries = SharedEntries{std::move(owner), {}, {}};
    if (firstOther == rest.end()) {
        entries.shared = rest;
    } else {
        entries.entries.reserve(rest.size());
        entries.entries.assign(rest.begin(), firstOther);
        std::copy_if(firstOther, rest.end(), std::back_inserter(entries.entries), isEntryLine);
    }
    r.reach = ReadReach::Everything;
    return r;
}

namespace {

// The lines read, with the entries copied into the file's own list.
EventFileRead readWithOwnEntries(const DecodedText& text) {
    SharedEntries entries;
    EventFileRead r = readEventText(text, nullptr, entries);
    const auto list = entries.list();
    r.file.entries.assign(list.begin(), list.end());
    return r;
}

}  // namespace

EventFileRead readEventLines(const std::vector<std::string>& lines) {
    DecodedText text;
    text.lines.assign(lines.begin(), lines.end());
    return readWithOwnEntries(text);
}

EventFileRead readEventBytes(std::string_view bytes) { return readWithOwnEntries(decodeCp932Text(bytes)); }

std::vector<std::string> writeEventLines(const EventFile& f) {
    std::vector<std::string> lines = leadingLines(f);
    lines.reserve(kLeadingLines + f.entries.size());
    for (const auto& entry : f.entries) lines.push_back(oneLine(entry));
    return lines;
}

std::string writeEventBytes(const EventFile& settings, std::span<const std::string_view> entries,
                            const Cp932File& source) {
    const std::vector<std::string> leading = leadingLines(settings);
    const std::vector<std::string_view> head(leading.begin(), leading.end());
    // An entry that holds an LF is made one line; the list is copied only then.
    if (std::none_of(entries.begin(), entries.end(),
                     [](std::string_view e) { return e.find('\n') != std::string_view::npos; }))
        return encodeCp932LinesKeeping(head, entries, source);
    std::vector<std::string> oneLines;
    oneLines.reserve(entries.size());
    for (const std::string_view entry : entries) oneLines.push_back(oneLine(entry));
    const std::vector<std::string_view> tail(oneLines.begin(), oneLines.end());
    return encodeCp932LinesKeeping(head, tail, source);
}

std::string writeEventBytes(const EventFile& file, const Cp932File& source) {
    const std::vector<std::string_view> entries(file.entries.begin(), file.entries.end());
    return writeEventBytes(file, entries, source);
}

std::optional<int> storedPosition(std::string_view text) {
    size_t pos = 0;
    skipBlanks(text, pos, Blanks::Ideographic);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    auto value = readDecimal(text, pos, {.maxValue = 2147483648LL});  // the smallest int's magnitude
    if (!value) return std::nullopt;
    skipBlanks(text, pos, Blanks::Ideographic);
    if (pos != text.size()) return std::nullopt;
    if (negative) *value = -*value;
    if (*value > 2147483647LL) return std::nullopt;
    return static_cast<int>(*value);
}

int startEntryPosition(std::string_view stored, int count) {
    const auto position = storedPosition(stored);
    return position && *position >= 0 && *position < count ? *position : 0;
}

std::string startEntryAfterDelete(std::string_view stored, int deleted) {
    const auto position = storedPosition(stored);
    if (position && deleted <= *position && *position > 0) return std::to_string(*position - 1);
    return std::string(stored);
}

}  // namespace kalvo

namespace kalvo {

bool looksCutShort(std::string_view bytes) {
    // Only a file of CR LF lines is judged: other line ends come from hand editing. A cut
    // between a CR and its LF leaves the line whole.
    if (bytes.find("\r\n") == std::string_view::npos) return false;
    return bytes.back() != '\n' && bytes.back() != '\r';
}

std::string lastLineOf(std::string_view bytes) {
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.remove_suffix(1);
    const size_t end = bytes.find_last_of("\r\n");
    std::string_view line = end == std::string_view::npos ? bytes : bytes.substr(end + 1);
    if (const size_t zero = line.find('\0'); zero != std::string_view::npos) line = line.substr(0, zero);
    std::string text;
    if (cp932ToUtf8(std::string(line), text)) return text;
    // What does not decode is shown as printable ASCII and "?" for the rest.
    text.clear();
    for (const char c : line) text += (c >= 0x20 && c < 0x7f) ? c : '?';
    return text;
}

}  // namespace kalvo
