#include "core/era/date_text.h"

#include "core/text/text_scan.h"

#include <algorithm>
#include <limits>

namespace kalvo {
namespace {

constexpr std::string_view kYearMark = "年", kMonthMark = "月", kDayMark = "日", kGannen = "元", kYobi = "曜";
constexpr Blanks kBlanks = Blanks::Ideographic;

// The separators by the key that types them: "/" (which an input method makes "・"),
// "-" ("ー") and "." ("。"), each also full-width.
struct Separator {
    std::string_view text;
    int kind;
};
constexpr Separator kWideSeparators[] = {{"／", 1}, {"・", 1}, {"･", 1},  {"－", 2},
                                         {"−", 2},  {"ー", 2}, {"．", 3}, {"。", 3}};

constexpr std::string_view kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

// The era a letter stands for (M, T, S, H, R in either case, ASCII or full-width), and
// the letter's length in bytes; empty when none stands at the start of the text.
std::pair<std::string_view, std::size_t> letterEra(std::string_view t) {
    if (t.empty()) return {};
    char c = t[0];
    std::size_t len = 1;
    if (t.size() >= 3 && t[0] == '\xEF' && (t[1] == '\xBC' || t[1] == '\xBD')) {
        // U+FF21..FF3A (Ａ..Ｚ) are EF BC A1..BA, U+FF41..FF5A (ａ..ｚ) EF BD 81..9A.
        const int third = static_cast<unsigned char>(t[2]);
        const int letter = t[1] == '\xBC' ? third - 0xA1 : third - 0x81;
        if (letter < 0 || letter >= 26) return {};
        c = static_cast<char>('A' + letter);
        len = 3;
    }
    switch (c) {
        case 'M':
        case 'm': return {"明治", len};
        case 'T':
        case 't': return {"大正", len};
        case 'S':
        case 's': return {"昭和", len};
        case 'H':
        case 'h': return {"平成", len};
        case 'R':
        case 'r': return {"令和", len};
        default: return {};
    }
}

// Whether the UTF-8 text is all kanji (々 included), in which era names are written.
bool allKanji(std::string_view t) {
    for (std::size_t pos = 0; pos < t.size();) {
        const auto lead = static_cast<unsigned char>(t[pos]);
        const std::size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 0;  // a kanji takes three or four bytes
        if (len == 0 || lead > 0xF4 || pos + len > t.size()) return false;
        char32_t c = lead & (0xFF >> (len + 1));
        for (std::size_t i = 1; i < len; ++i) {
            const auto next = static_cast<unsigned char>(t[pos + i]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        const bool kanji = (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
                           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FFFF) || c == U'々';
        if (!kanji) return false;
        pos += len;
    }
    return true;
}

// A year, month or day: up to six ASCII or full-width digits (a longer run is no date).
constexpr DecimalRule kDatePart{.maxDigits = 6, .fullWidth = true};

// A reading position in a text, on the text scanner. The event file sorts each of its
// lines without "@" through here at every start, so it compares bytes and decodes no
// characters.
struct Cursor {
    std::string_view t;
    std::size_t pos = 0;

    bool atEnd() const { return pos >= t.size(); }
    bool at(std::string_view s) const {
        if (t.size() - pos < s.size()) return false;
        for (std::size_t i = 0; i < s.size(); ++i)
            if (t[pos + i] != s[i]) return false;
        return true;
    }
    void skipBlanks() { kalvo::skipBlanks(t, pos, kBlanks); }
    // Reads `s` and the blanks after it.
    bool take(std::string_view s) {
        if (!at(s)) return false;
        pos += s.size();
        skipBlanks();
        return true;
    }
    bool atDigit() const { return digitAt(t, pos, kDatePart.fullWidth) != 0; }
    // A year, month or day and the blanks after it; -1 when none stands here.
    int number() {
        const auto value = readDecimal(t, pos, kDatePart);
        if (!value) return -1;
        skipBlanks();
        return static_cast<int>(*value);
    }
    // A separator and the blanks after it; its kind, 0 when none stands here.
    int separator() {
        if (atEnd()) return 0;
        int kind = t[pos] == '/' ? 1 : t[pos] == '-' ? 2 : t[pos] == '.' ? 3 : 0;
        std::size_t len = 1;
        for (const Separator& s : kWideSeparators) {
            if (kind == 0 && at(s.text)) {
                kind = s.kind;
                len = s.text.size();
            }
        }
        if (kind != 0) {
            pos += len;
            skipBlanks();
        }
        return kind;
    }
    // Whether "元" here is the era year 1: 年 or a separator follows it.
    bool atGannen() const {
        Cursor after = *this;
        return after.take(kGannen) && (after.at(kYearMark) || after.separator() != 0);
    }
};

// The weekday in brackets at the end of a trimmed text ("(日)", "（日曜）", "( 日曜日 )"),
// which leaves the text; 0 when the text ends in no bracket, -1 when what stands in the
// brackets is no weekday.
int takeWeekday(std::string_view& t) {
    constexpr std::string_view kClose = ")", kWideClose = "）", kOpen = "(", kWideOpen = "（";
    std::size_t close = std::string_view::npos;
    if (t.ends_with(kClose)) close = t.size() - kClose.size();
    else if (t.ends_with(kWideClose)) close = t.size() - kWideClose.size();
    if (close == std::string_view::npos) return 0;
    const std::size_t narrow = t.rfind(kOpen, close), wide = t.rfind(kWideOpen, close);
    std::size_t open = narrow, openLen = kOpen.size();
    if (wide != std::string_view::npos && (narrow == std::string_view::npos || wide > narrow)) {
        open = wide;
        openLen = kWideOpen.size();
    }
    if (open == std::string_view::npos) return -1;
    Cursor inside{t.substr(open + openLen, close - open - openLen)};
    inside.skipBlanks();
    int day = 0;
    for (int i = 0; i < 7 && day == 0; ++i)
        if (inside.take(kWeekdays[i])) day = i + 1;
    if (day == 0) return -1;
    if (inside.take(kYobi)) inside.take(kDayMark);  // 曜 and 曜日 may follow
    if (!inside.atEnd()) return -1;
    t = trimBlanks(t.substr(0, open), kBlanks);
    return day;
}

// The era before the year (a letter or a name), with the cursor moved to the year;
// nullopt when no year follows one.
std::optional<std::string_view> readEra(Cursor& c) {
    if (const auto [era, len] = letterEra(c.t.substr(c.pos)); !era.empty()) {
        Cursor after{c.t, c.pos + len};
        after.skipBlanks();
        if (after.atDigit() || after.atGannen()) {
            c = after;
            return era;
        }
    }
    // Only a digit or "元" ends the name, and only the bytes 0-9, EF and E5 begin one.
    Cursor year = c;
    for (; !year.atEnd(); ++year.pos) {
        const auto b = static_cast<unsigned char>(year.t[year.pos]);
        if (((b >= '0' && b <= '9') || b == 0xEF || b == 0xE5) && (year.atDigit() || year.atGannen())) break;
    }
    const std::string_view name = trimBlanks(c.t.substr(c.pos, year.pos - c.pos), kBlanks);
    if (name.empty() || year.atEnd()) return std::nullopt;
    c = year;
    return name;
}

std::optional<Serial> resolve(const DateTextForm& f, const DateEras* eras) {
    std::optional<Serial> date;
    if (f.era.empty()) {
        date = makeDate(f.year, f.month, f.day);
    } else if (eras && f.year >= 1) {
        for (const DateEras::Span& span : eras->spansOf(f.era)) {
            const int year = span.startYear + f.year - 1;
            const auto d = makeDate(year, f.month, f.day);
            if (!d || *d < span.start || !(*d < span.end)) continue;
            if (date && *date != *d) return std::nullopt;  // one name, two days
            date = d;
        }
    }
    if (date && f.weekday != 0 && weekday(*date) != f.weekday) return std::nullopt;
    return date;
}

// The span of each row that has a name and an era year: from its first day up to the
// first day of the rows above it, as the window's era search finds it.
std::vector<DateEras::Named> spansOfRows(std::span<const EraRow> rows) {
    std::vector<DateEras::Named> named;
    Serial end = std::numeric_limits<Serial>::infinity();
    for (const EraRow& row : rows) {
        if (!row.name.empty() && row.name != kNoEraName)
            named.push_back({row.name, {row.start, end, yearOf(row.start)}});
        end = std::min(end, row.start);
    }
    return named;
}

}  // namespace

DateEras::DateEras() : DateEras(builtInEraRows()) {}

DateEras::DateEras(std::span<const EraRow> rowsInForce) {
    std::vector<Named> named = spansOfRows(rowsInForce);
    static const std::vector<EraRow> builtIn = builtInEraRows();
    const auto meiji = std::ranges::find(builtIn, std::string_view("明治"), &EraRow::name);
    const std::size_t inForce = named.size();
    for (Named& era : spansOfRows(std::span(builtIn.begin(), meiji + 1))) {
        const auto sameName = [&](const Named& n) { return n.first == era.first; };
        if (std::none_of(named.begin(), named.begin() + static_cast<std::ptrdiff_t>(inForce), sameName))
            named.push_back(std::move(era));
    }
    std::ranges::stable_sort(named, {}, &Named::first);
    for (Named& era : named) {
        names_.push_back(std::move(era.first));
        spans_.push_back(era.second);
    }
}

std::span<const DateEras::Span> DateEras::spansOf(std::string_view name) const {
    const auto first =
        std::ranges::lower_bound(names_, name, {}, [](const std::string& n) { return std::string_view(n); });
    auto last = first;
    while (last != names_.end() && *last == name) ++last;
    return std::span(spans_).subspan(static_cast<std::size_t>(first - names_.begin()),
                                     static_cast<std::size_t>(last - first));
}

std::optional<DateTextForm> readDateTextForm(std::string_view text) {
    std::string_view t = trimBlanks(text, kBlanks);
    DateTextForm f;
    f.weekday = takeWeekday(t);
    if (f.weekday < 0) return std::nullopt;
    Cursor c{t};
    if (!c.atDigit()) {
        const auto era = readEra(c);
        if (!era) return std::nullopt;
        f.era = *era;
    }
    if (!f.era.empty() && c.take(kGannen)) {
        f.year = 1;
    } else {
        f.year = c.number();
        if (f.year < 0) return std::nullopt;
    }
    if (c.take(kYearMark)) {
        f.month = c.number();
        if (f.month < 0 || !c.take(kMonthMark)) return std::nullopt;
        f.day = c.number();
        if (f.day < 0 || !c.take(kDayMark)) return std::nullopt;
    } else {
        const int kind = c.separator();
        f.month = c.number();
        if (kind == 0 || f.month < 0 || c.separator() != kind) return std::nullopt;
        f.day = c.number();
        if (f.day < 0) return std::nullopt;
    }
    if (!c.atEnd()) return std::nullopt;
    return f;
}

std::optional<Serial> westernDate(const DateTextForm& form) {
    return form.era.empty() ? resolve(form, nullptr) : std::nullopt;
}

std::optional<Serial> parseDateText(std::string_view text, const DateEras& eras) {
    const auto form = readDateTextForm(text);
    return form ? resolve(*form, &eras) : std::nullopt;
}

bool mayBeDateText(std::string_view text) {
    const auto form = readDateTextForm(text);
    if (!form) return false;
    if (form->era.empty()) return resolve(*form, nullptr).has_value();
    // 2000 has a 29 February.
    return form->year >= 1 && makeDate(2000, form->month, form->day) && allKanji(form->era);
}

std::string eraDateText(std::span<const EraRow> rows, Serial date) {
    std::vector<Serial> starts;
    for (const EraRow& row : rows) starts.push_back(row.start);
    const int row = findEra(starts, date);
    if (row < 1 || row > static_cast<int>(rows.size())) return {};
    const EraRow& era = rows[static_cast<std::size_t>(row - 1)];
    const std::string year = eraYearText(row, eraYearOf(date, era.start), era.name);
    if (year.empty()) return {};
    const Ymd ymd = toYmd(date);
    return era.name + year + "年" + std::to_string(ymd.month) + "月" + std::to_string(ymd.day) + "日";
}

}  // namespace kalvo
