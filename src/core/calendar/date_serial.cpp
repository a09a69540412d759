#include "core/calendar/date_serial.h"

#include "core/text/text_scan.h"

#include <chrono>
#include <cmath>

namespace kalvo {
namespace {

using namespace std::chrono;

using detail::toSerial;
using detail::toSysDays;

std::optional<Serial> checked(Serial s) {
    if (!inRange(s)) return std::nullopt;
    return s;
}

}  // namespace

// The calendar's worked values, checked by the compiler.
static_assert(toYmd(0) == Ymd{1899, 12, 30});
static_assert(toYmd(-0.5) == Ymd{1899, 12, 29});                       // a fraction belongs to its day
static_assert(fromYmd(1997, 10, 16) == 35719 && weekday(35719) == 5);  // a Thursday
static_assert(fromYmd(2003, 9, 14) == 37878 && weekday(37878) == 1);   // a Sunday
static_assert(fromYmd(2003, 2, 30) == fromYmd(2003, 3, 2));            // the day runs on into March
static_assert(fromYmd(2003, 0, 15) == fromYmd(2002, 12, 15));          // month 0: December of the year before
static_assert(fromYmd(2003, 3, 0) == fromYmd(2003, 2, 28));            // day 0: the month before's last day

int yearOf(Serial s) { return static_cast<int>(year_month_day{toSysDays(s)}.year()); }

bool inRange(Serial s) { return s >= static_cast<Serial>(kMinSerial) && s < static_cast<Serial>(kMaxSerial + 1); }

std::optional<Serial> makeDate(int year, int month, int day) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1) return std::nullopt;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok()) return std::nullopt;
    return toSerial(sys_days{ymd});
}

Serial addDays(Serial s, long n) { return s + static_cast<Serial>(n); }

std::optional<Serial> addMonths(Serial s, long n) {
    const Ymd d = toYmd(s);
    const year_month ym =
        year_month{std::chrono::year{d.year}, std::chrono::month{static_cast<unsigned>(d.month)}} + months{n};
    const int y = static_cast<int>(ym.year());
    if (y < kMinYear || y > kMaxYear) return std::nullopt;
    const unsigned last = static_cast<unsigned>((ym / std::chrono::last).day());
    const unsigned day = std::min(static_cast<unsigned>(d.day), last);
    return checked(toSerial(sys_days{ym / std::chrono::day{day}}));
}

std::optional<Serial> addYears(Serial s, long n) { return addMonths(s, n * 12); }

long diffDays(Serial earlier, Serial later) { return static_cast<long>(std::floor(later) - std::floor(earlier)); }

std::string toText(Serial s) {
    const Ymd d = toYmd(s);
    std::string y = std::to_string(d.year);
    if (d.year >= 0 && y.size() < 4) y.insert(0, 4 - y.size(), '0');
    return y + "/" + std::to_string(d.month) + "/" + std::to_string(d.day);
}

namespace {

// Blanks around the numbers and the separators, the ideographic space included.
constexpr Blanks kDateBlanks = Blanks::Ideographic;
// A year, month or day: up to six ASCII or full-width digits.
constexpr DecimalRule kDatePart{.maxDigits = 6, .fullWidth = true};

bool readSeparator(std::string_view t, size_t& pos, char& sep) {
    skipBlanks(t, pos, kDateBlanks);
    if (pos >= t.size()) return false;
    char c = t[pos];
    size_t width = 1;
    if (t.substr(pos, 3) == "\xEF\xBC\x8F") {  // full-width solidus
        c = '/';
        width = 3;
    }
    if (c != '/' && c != '-' && c != '.') return false;
    if (sep != 0 && c != sep) return false;
    sep = c;
    pos += width;
    skipBlanks(t, pos, kDateBlanks);
    return true;
}

}  // namespace

std::optional<Serial> parseDate(std::string_view text) {
    size_t pos = 0;
    char sep = 0;
    skipBlanks(text, pos, kDateBlanks);
    const auto y = readDecimal(text, pos, kDatePart);
    if (!y || !readSeparator(text, pos, sep)) return std::nullopt;
    const auto m = readDecimal(text, pos, kDatePart);
    if (!m || !readSeparator(text, pos, sep)) return std::nullopt;
    const auto d = readDecimal(text, pos, kDatePart);
    if (!d) return std::nullopt;
    skipBlanks(text, pos, kDateBlanks);
    if (pos != text.size()) return std::nullopt;
    return makeDate(static_cast<int>(*y), static_cast<int>(*m), static_cast<int>(*d));
}

}  // namespace kalvo
