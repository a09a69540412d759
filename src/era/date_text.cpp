#include "era/date_text.h"

#include "text/text_scan.h"

#include <algorithm>
#include <limits>

namespace kalvo {
namespace {

// One character of UTF-8 text: its code point and its length in bytes. A byte that does
// not start a well-formed character is a character of its own that matches nothing.
struct Char {
    char32_t cp = 0;
    std::size_t len = 0;  // 0 at the end of the text
};

constexpr char32_t kNoChar = 0xFFFFFFFF;

Char charAt(std::string_view t, std::size_t pos) {
    if (pos >= t.size()) return {};
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(t[i]); };
    const unsigned char b = byte(pos);
    if (b < 0x80) return {b, 1};
    const std::size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (len == 0 || b > 0xF4 || pos + len > t.size()) return {kNoChar, 1};
    char32_t cp = b & (0xFF >> (len + 1));
    for (std::size_t i = 1; i < len; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return {kNoChar, 1};
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    return {cp, len};
}

constexpr char32_t kYearMark = U'年', kMonthMark = U'月', kDayMark = U'日', kGannen = U'元', kYobi = U'曜';
constexpr Blanks kBlanks = Blanks::Ideographic;
// A year, month or day: up to six ASCII or full-width digits (a longer run is no date).
constexpr DecimalRule kNumber{.maxDigits = 6, .fullWidth = true};

bool isDigit(char32_t c) { return (c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９'); }

// The separators by the key that types them: "/" (which an input method makes "・"),
// "-" ("ー") and "." ("。"), each also full-width. 0 for anything else.
int separatorKind(char32_t c) {
    switch (c) {
        case U'/':
        case U'／':
        case U'・':
        case U'･': return 1;
        case U'-':
        case U'－':
        case U'−':
        case U'ー': return 2;
        case U'.':
        case U'．':
        case U'。': return 3;
        default: return 0;
    }
}

// The era a letter stands for; empty when the character is none of M, T, S, H, R.
std::string_view letterEra(char32_t c) {
    if (c >= U'ａ' && c <= U'ｚ') c = c - U'ａ' + U'a';
    if (c >= U'Ａ' && c <= U'Ｚ') c = c - U'Ａ' + U'A';
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
    switch (c) {
        case U'M': return "明治";
        case U'T': return "大正";
        case U'S': return "昭和";
        case U'H': return "平成";
        case U'R': return "令和";
        default: return {};
    }
}

// 1 (日) .. 7 (土), 0 for any other character.
int weekdayOf(char32_t c) {
    constexpr char32_t kDays[] = {U'日', U'月', U'火', U'水', U'木', U'金', U'土'};
    for (int i = 0; i < 7; ++i)
        if (kDays[i] == c) return i + 1;
    return 0;
}

// Era names are written in kanji (々 included).
bool isKanji(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x2FFFF) || c == U'々';
}

// Reads the character at pos when it is `c`, with the blanks after it.
bool take(std::string_view t, std::size_t& pos, char32_t c) {
    const Char ch = charAt(t, pos);
    if (ch.len == 0 || ch.cp != c) return false;
    pos += ch.len;
    skipBlanks(t, pos, kBlanks);
    return true;
}

std::optional<int> number(std::string_view t, std::size_t& pos) {
    const auto n = readDecimal(t, pos, kNumber);
    if (!n) return std::nullopt;
    skipBlanks(t, pos, kBlanks);
    return static_cast<int>(*n);
}

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
    const std::string_view inside = trimBlanks(t.substr(open + openLen, close - open - openLen), kBlanks);
    const Char c = charAt(inside, 0);
    const int day = weekdayOf(c.cp);
    std::size_t pos = c.len;
    if (day == 0) return -1;
    // 曜 and 曜日 may follow.
    if (charAt(inside, pos).cp == kYobi) {
        pos += charAt(inside, pos).len;
        if (charAt(inside, pos).cp == kDayMark) pos += charAt(inside, pos).len;
    }
    if (pos != inside.size()) return -1;
    t = trimBlanks(t.substr(0, open), kBlanks);
    return day;
}

// Whether "元" at pos is the era year 1: 年 or a separator follows it.
bool isGannen(std::string_view t, std::size_t pos) {
    const Char c = charAt(t, pos);
    if (c.cp != kGannen) return false;
    pos += c.len;
    skipBlanks(t, pos, kBlanks);
    const char32_t next = charAt(t, pos).cp;
    return next == kYearMark || separatorKind(next) != 0;
}

// The era before the year (a letter or a name), with pos moved to the year; nullopt
// when no year follows one.
std::optional<std::string_view> readEra(std::string_view t, std::size_t& pos) {
    const Char first = charAt(t, 0);
    if (const std::string_view era = letterEra(first.cp); !era.empty()) {
        std::size_t after = first.len;
        skipBlanks(t, after, kBlanks);
        if (isDigit(charAt(t, after).cp) || isGannen(t, after)) {
            pos = after;
            return era;
        }
    }
    std::size_t q = 0;
    while (q < t.size() && !isDigit(charAt(t, q).cp) && !isGannen(t, q)) q += charAt(t, q).len;
    const std::string_view name = trimBlanks(t.substr(0, q), kBlanks);
    if (name.empty() || q == t.size()) return std::nullopt;
    pos = q;
    return name;
}

std::optional<Serial> resolve(const DateTextForm& f, const DateEras* eras) {
    std::optional<Serial> date;
    if (f.era.empty()) {
        if (f.year <= kMaxYear) date = makeDate(static_cast<int>(f.year), f.month, f.day);
    } else if (eras && f.year >= 1) {
        for (const DateEras::Span& span : eras->spansOf(f.era)) {
            const long long year = span.startYear + f.year - 1;
            if (year > kMaxYear) continue;
            const auto d = makeDate(static_cast<int>(year), f.month, f.day);
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

std::vector<EraRow> builtInRows() {
    std::vector<EraRow> rows;
    for (const BuiltInEra& era : builtInEras()) rows.push_back({era.reading, era.name, era.start});
    return rows;
}

}  // namespace

DateEras::DateEras() : DateEras(builtInRows()) {}

DateEras::DateEras(std::span<const EraRow> rowsInForce) {
    std::vector<Named> named = spansOfRows(rowsInForce);
    static const std::vector<EraRow> builtIn = builtInRows();
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
    std::size_t pos = 0;
    if (!isDigit(charAt(t, 0).cp)) {
        const auto era = readEra(t, pos);
        if (!era) return std::nullopt;
        f.era = *era;
    }
    if (!f.era.empty() && take(t, pos, kGannen)) {
        f.year = 1;
    } else {
        const auto year = readDecimal(t, pos, kNumber);
        if (!year) return std::nullopt;
        skipBlanks(t, pos, kBlanks);
        f.year = *year;
    }
    std::optional<int> month, day;
    if (take(t, pos, kYearMark)) {
        month = number(t, pos);
        if (!month || !take(t, pos, kMonthMark)) return std::nullopt;
        day = number(t, pos);
        if (!day || !take(t, pos, kDayMark)) return std::nullopt;
    } else {
        const Char sep = charAt(t, pos);
        const int kind = separatorKind(sep.cp);
        if (kind == 0) return std::nullopt;
        pos += sep.len;
        skipBlanks(t, pos, kBlanks);
        month = number(t, pos);
        const Char sep2 = charAt(t, pos);
        if (!month || separatorKind(sep2.cp) != kind) return std::nullopt;
        pos += sep2.len;
        skipBlanks(t, pos, kBlanks);
        day = number(t, pos);
        if (!day) return std::nullopt;
    }
    if (pos != t.size()) return std::nullopt;
    f.month = *month;
    f.day = *day;
    return f;
}

std::optional<Serial> parseDateText(std::string_view text, const DateEras& eras) {
    const auto form = readDateTextForm(text);
    return form ? resolve(*form, &eras) : std::nullopt;
}

bool mayBeDateText(std::string_view text) {
    const auto form = readDateTextForm(text);
    if (!form) return false;
    if (form->era.empty()) return resolve(*form, nullptr).has_value();
    if (form->year < 1 || !makeDate(2000, form->month, form->day)) return false;  // 2000 has a 29 February
    for (std::size_t pos = 0; pos < form->era.size();) {
        const Char c = charAt(form->era, pos);
        if (!isKanji(c.cp)) return false;
        pos += c.len;
    }
    return true;
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
