#include "core/era/era_file.h"

#include "core/text/cp932.h"
#include "core/text/text_scan.h"

#include <algorithm>

namespace kalvo {
namespace {

// Hands out the fields of the text one by one, with the line each one starts on. The
// separators (blank, tab, comma, double quote) are ASCII bytes that code page 932 never
// uses as the second byte of a character, so the fields can be cut out of the raw bytes
// and decoded one at a time: nothing after the end mark is ever decoded.
class FieldReader {
public:
    enum class Status { Field, End, Error };

    // decoder: null when the lines are UTF-8 already.
    FieldReader(std::span<const std::string> lines, Cp932Decoder* decoder) : lines_(lines), decoder_(decoder) {}

    Status next(std::string& field, int& line, EraFileProblem& problem) {
        // Blanks, empty lines and the line end after a trailing comma lead to no field.
        for (;;) {
            if (line_ >= lines_.size()) return Status::End;
            const std::string& l = lines_[line_];
            skipBlanks(l, pos_);
            if (pos_ < l.size()) break;
            ++line_;
            pos_ = 0;
        }
        line = static_cast<int>(line_) + 1;
        const std::string& l = lines_[line_];
        std::string_view raw;
        if (l[pos_] == '"') {
            const size_t close = l.find('"', pos_ + 1);
            if (close == std::string::npos) {
                problem = EraFileProblem::UnclosedQuote;
                return Status::Error;
            }
            raw = std::string_view(l).substr(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            skipBlanks(l, pos_);
            if (pos_ < l.size() && l[pos_] != ',') {
                problem = EraFileProblem::TextAfterQuote;
                return Status::Error;
            }
        } else {
            size_t end = l.find(',', pos_);
            if (end == std::string::npos) end = l.size();
            raw = trimBlanks(std::string_view(l).substr(pos_, end - pos_));
            pos_ = end;
        }
        if (!decoder_) {
            field.assign(raw);
        } else if (!decoder_->decode(raw, field)) {
            problem = EraFileProblem::BadEncoding;
            return Status::Error;
        }
        if (pos_ < l.size()) {
            ++pos_;  // the comma
        } else {
            ++line_;  // the line end
            pos_ = 0;
        }
        return Status::Field;
    }

    int lineCount() const { return static_cast<int>(lines_.size()); }

private:
    std::span<const std::string> lines_;
    Cp932Decoder* decoder_;
    size_t line_ = 0;
    size_t pos_ = 0;
};

// At most about twenty Japanese characters of a field, cut at a character boundary.
std::string excerpt(const std::string& text) {
    constexpr size_t kLimit = 60;
    if (text.size() <= kLimit) return text;
    size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "…";
}

EraFileResult failure(EraFileProblem problem, int line, const std::string& field = {}) {
    std::string text;
    switch (problem) {
        case EraFileProblem::NotADate: text = "始まる日「" + excerpt(field) + "」が日付ではありません。"; break;
        case EraFileProblem::EraCutShort:
            text = "最後の年号の項目が足りません（読み、年号、始まる日の三つが要ります）。";
            break;
        case EraFileProblem::TooManyEras: text = "年号が" + std::to_string(kMaxEras) + "を超えています。"; break;
        case EraFileProblem::NoEra: text = "年号がひとつもありません。"; break;
        case EraFileProblem::NotNewestFirst:
            text = "年号が新しい順に並んでいません（始まる日「" + excerpt(field) +
                   "」が上の年号の始まる日より前ではありません）。";
            break;
        case EraFileProblem::UnclosedQuote: text = "引用符（\"）が閉じていません。"; break;
        case EraFileProblem::TextAfterQuote: text = "引用符（\"）の後に余分な文字があります。"; break;
        case EraFileProblem::BadEncoding: text = "Shift_JIS（コードページ932）で読めない文字があります。"; break;
    }
    return {{}, EraFileError{problem, line, std::move(text)}};
}

// One unsigned decimal number of 1 to 4 ASCII digits.
bool readNumber(std::string_view t, size_t& pos, int& value) {
    const auto number = readDecimal(t, pos, {.maxDigits = 4});
    if (number) value = static_cast<int>(*number);
    return number.has_value();
}

}  // namespace

std::optional<Serial> parseEraDay(std::string_view text) {
    if (const auto date = parseDate(text)) return date;
    // y/m/d whose day the Gregorian month lacks.
    size_t pos = 0;
    skipBlanks(text, pos);
    int y = 0, m = 0, d = 0;
    if (!readNumber(text, pos, y) || pos >= text.size() || text[pos++] != '/') return std::nullopt;
    if (!readNumber(text, pos, m) || pos >= text.size() || text[pos++] != '/') return std::nullopt;
    if (!readNumber(text, pos, d)) return std::nullopt;
    skipBlanks(text, pos);
    if (pos != text.size() || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    if (!makeDate(y, m, 1)) return std::nullopt;  // year out of range
    // December has 31 days, so a day it lacks never reaches here: m + 1 is a month.
    return makeDate(y, m + 1, 1);
}

namespace {

EraFileResult readEras(FieldReader& reader) {
    EraFileResult result;
    std::string reading, name, day;
    int line = 0, dayLine = 0;
    EraFileProblem problem{};
    int endLine = std::max(1, reader.lineCount());
    for (;;) {
        auto status = reader.next(reading, line, problem);
        if (status == FieldReader::Status::End) break;  // the file ends after a complete era
        if (status == FieldReader::Status::Error) return failure(problem, line);
        if (reading == kEndMark) {
            endLine = line;
            break;
        }
        if (result.rows.size() >= static_cast<size_t>(kMaxEras)) return failure(EraFileProblem::TooManyEras, line);
        const int eraLine = line;
        status = reader.next(name, line, problem);
        if (status == FieldReader::Status::Error) return failure(problem, line);
        if (status == FieldReader::Status::Field) status = reader.next(day, dayLine, problem);
        if (status == FieldReader::Status::Error) return failure(problem, dayLine);
        if (status == FieldReader::Status::End) return failure(EraFileProblem::EraCutShort, eraLine);
        const auto start = parseEraDay(day);
        if (!start) return failure(EraFileProblem::NotADate, dayLine, day);
        if (!result.rows.empty() && *start >= result.rows.back().start)
            return failure(EraFileProblem::NotNewestFirst, dayLine, day);
        result.rows.push_back({std::move(reading), std::move(name), *start});
        reading.clear();
        name.clear();
    }
    if (result.rows.empty()) return failure(EraFileProblem::NoEra, endLine);
    return result;
}

}  // namespace

EraFileResult readEraLines(std::span<const std::string> lines) {
    FieldReader reader(lines, nullptr);
    return readEras(reader);
}

EraFileResult readEraBytes(std::string_view bytes) {
    const std::vector<std::string> lines = splitLines(bytes);
    Cp932Decoder decoder;
    FieldReader reader(lines, &decoder);
    return readEras(reader);
}

EraFileResult readEraText(std::string_view text) { return readEraLines(splitLines(text)); }

}  // namespace kalvo
