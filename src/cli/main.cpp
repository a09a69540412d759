// kalvo-date: what Kalvo knows about dates, for scripts and terminals. It reads the date
// forms of the window's 何の日？ field with the built-in era table, and prints from the same
// core the window uses: the era date, the holiday, 旧暦, 六曜, 干支 and solar terms, the span
// between two dates with its business days, and the typed date arithmetic.
//
// Exit status: 0; 1 when a date (or an expression) could not be read, the others still
// printed; 2 on a usage error. --is-business-day: 0 on a business day, 1 otherwise.
#include "core/almanac/almanac.h"
#include "core/calendar/span.h"
#include "core/day_info/almanac_equinoxes.h"
#include "core/day_info/day_info.h"
#include "core/era/date_text.h"
#include "core/events/event_entry.h"
#include "core/holidays/business_days.h"
#include "core/holidays/date_expression.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {
namespace {

// The years whose solar terms and new moons the almanac lists, and those whose holidays it
// can give whole (春分日 and 秋分日 come from the almanac).
constexpr int kFirstEventYear = kAlmanacFirstYear - 1, kLastEventYear = kAlmanacLastYear + 1;
constexpr int kFirstHolidayYear = 1948;

constexpr std::string_view kHelp =
    "使い方:\n"
    "  kalvo-date [--tsv] [日付...]        日付ごとに和暦・祝日・旧暦・六曜・干支・二十四節気を表示\n"
    "                                     (日付がなければ標準入力から一行に一つ、端末なら今日)\n"
    "  kalvo-date --terms 年1 [年2]        二十四節気の日時 (日本時間)\n"
    "  kalvo-date --moons 年1 [年2]        朔 (新月) の日時 (日本時間)\n"
    "  kalvo-date --holidays 年1 [年2]     祝日と休日\n"
    "  kalvo-date --span 日付1 日付2 [--count-start] [--tsv]\n"
    "                                     日数、年・月・日、営業日、行政機関の開庁日\n"
    "  kalvo-date --add 日付 式 [--tsv]   式 (+100, -30日, +2週, +3ヶ月, +1年, +10営業日) で動かした日付\n"
    "  kalvo-date --is-business-day [日付] 営業日なら終了ステータス 0、そうでなければ 1\n"
    "  kalvo-date --help | --version\n"
    "日付: 2026-12-08, 2026/12/8, 2026年12月8日, 令和8年12月8日, R8.12.8, today など\n"
    "--tsv: 日付, 和暦, 曜日, 祝日, 旧暦, 六曜, 日の干支, 年の干支, その日に始まる節気 の九列\n"
    "       (--span では 日数, 年, 月, 日, 営業日, 開庁日 の六列)\n";

enum class Mode { Dates, Terms, Moons, Holidays, Span, Add, IsBusinessDay };

struct Options {
    Mode mode = Mode::Dates;
    bool tsv = false;
    bool countStart = false;
    std::vector<std::string_view> args;
};

struct UsageError {
    std::string message;
};

void writeOut(std::string_view s) { std::fwrite(s.data(), 1, s.size(), stdout); }
void writeErr(std::string_view s) {
    std::fflush(stdout);
    std::fwrite(s.data(), 1, s.size(), stderr);
}

// The JST day, whatever TZ says.
int todayJst() {
    using namespace std::chrono;
    return static_cast<int>(floor<days>(system_clock::now() + hours{9}).time_since_epoch().count());
}

std::string_view trimmed(std::string_view s) {
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    for (bool again = true; again;) {
        again = false;
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1), again = true;
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
            s.remove_suffix(1), again = true;
        if (s.starts_with(kIdeographicSpace)) s.remove_prefix(3), again = true;
        if (s.ends_with(kIdeographicSpace)) s.remove_suffix(3), again = true;
    }
    return s;
}

class Dates {
public:
    Dates() : holidays_(almanacEquinoxes()), business_(holidays_), rows_(builtInEraRows()) {}

    // The day a text names: a date text of the 何の日？ field or "today" (any case).
    std::optional<int> read(std::string_view text) const {
        const std::string_view t = trimmed(text);
        if (isTodayWord(t)) return todayJst();
        const auto serial = parseDateText(t, eras_);
        if (!serial) return std::nullopt;
        return static_cast<int>(unixDayOf(*serial));
    }

    void print(int day, bool tsv, std::string& out) const {
        const DayInfo info = dayInfoOf(day, holidays_, rows_);
        if (tsv) {
            appendTsvLine(info, out);
        } else {
            out += readableLine(info);
            out += '\n';
        }
    }

    const holidays::HolidayCalendar& holidays() const { return holidays_; }
    const holidays::BusinessDays& business() const { return business_; }

private:
    holidays::HolidayCalendar holidays_;
    holidays::BusinessDays business_;
    DateEras eras_;
    std::vector<EraRow> rows_;
};

Options parseOptions(int argc, char** argv) {
    Options o;
    bool modeSet = false, optionsEnd = false;
    auto setMode = [&](Mode m, std::string_view name) {
        if (modeSet) throw UsageError{std::string(name) + " は他の動作と一緒に指定できません"};
        o.mode = m;
        modeSet = true;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (optionsEnd || !a.starts_with("--")) {
            o.args.push_back(a);
        } else if (a == "--") {
            optionsEnd = true;
        } else if (a == "--tsv") {
            o.tsv = true;
        } else if (a == "--count-start") {
            o.countStart = true;
        } else if (a == "--terms") {
            setMode(Mode::Terms, a);
        } else if (a == "--moons") {
            setMode(Mode::Moons, a);
        } else if (a == "--holidays") {
            setMode(Mode::Holidays, a);
        } else if (a == "--span") {
            setMode(Mode::Span, a);
        } else if (a == "--add") {
            setMode(Mode::Add, a);
        } else if (a == "--is-business-day") {
            setMode(Mode::IsBusinessDay, a);
        } else {
            throw UsageError{"知らないオプションです: " + std::string(a)};
        }
    }
    if (o.countStart && o.mode != Mode::Span) throw UsageError{"--count-start は --span と一緒に使います"};
    return o;
}

// Y1 [Y2] within first..last.
std::pair<int, int> yearRange(const Options& o, std::string_view option, int first, int last) {
    const std::string range = std::to_string(first) + "〜" + std::to_string(last);
    if (o.args.empty() || o.args.size() > 2) throw UsageError{std::string(option) + " には年を一つか二つ指定します"};
    int years[2];
    for (size_t i = 0; i < 2; ++i) {
        const std::string_view a = o.args[std::min(i, o.args.size() - 1)];
        const auto [end, ec] = std::from_chars(a.data(), a.data() + a.size(), years[i]);
        if (ec != std::errc{} || end != a.data() + a.size() || years[i] < first || years[i] > last)
            throw UsageError{std::string(option) + " の年は " + range + " の数で指定します: " + std::string(a)};
    }
    if (years[0] > years[1]) throw UsageError{std::string(option) + " の年は古い順に指定します"};
    return {years[0], years[1]};
}

int printEvents(const Options& o) {
    const bool terms = o.mode == Mode::Terms;
    const auto [y1, y2] = yearRange(o, terms ? "--terms" : "--moons", kFirstEventYear, kLastEventYear);
    std::string out;
    for (const AlmanacEvent& e : terms ? solarTermsOf(y1, y2) : newMoonsOf(y1, y2)) {
        out += jstText(e.unixSeconds);
        out += '\t';
        out += terms ? solarTermName(e.term) : "朔";
        out += '\n';
    }
    writeOut(out);
    return 0;
}

int printHolidays(const Options& o, const Dates& dates) {
    const auto [y1, y2] = yearRange(o, "--holidays", kFirstHolidayYear, kAlmanacLastYear);
    std::string out;
    for (int y = y1; y <= y2; ++y) {
        for (const holidays::Holiday& h : dates.holidays().holidaysOf(y)) {
            out += isoDate(holidays::dayOf(h.date));
            out += '\t';
            out += h.name;
            if (h.predicted) out += "\t予測";
            out += '\n';
        }
    }
    writeOut(out);
    return 0;
}

// The dates of the arguments, or of standard input, one a line; blank lines are passed over.
int printDates(const Options& o, const Dates& dates) {
    int status = 0;
    std::string out;
    auto one = [&](std::string_view text, const std::string& where) {
        if (const auto day = dates.read(text)) {
            dates.print(*day, o.tsv, out);
        } else {
            status = 1;
            writeOut(out);
            out.clear();
            writeErr("kalvo-date: " + where + "「" + std::string(text) + "」は日付として読めません\n");
        }
        if (out.size() > 1 << 16) {
            writeOut(out);
            out.clear();
        }
    };
    if (!o.args.empty()) {
        for (size_t i = 0; i < o.args.size(); ++i) one(o.args[i], "引数 " + std::to_string(i + 1));
    } else if (isatty(STDIN_FILENO)) {
        dates.print(todayJst(), o.tsv, out);
    } else {
        std::string line;
        for (long n = 1; std::getline(std::cin, line); ++n) {
            if (trimmed(line).empty()) continue;
            if (n == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);  // a byte order mark
            one(trimmed(line), std::to_string(n) + " 行目");
        }
    }
    writeOut(out);
    return status;
}

std::optional<int> readArgument(const Dates& dates, std::string_view text) {
    const auto day = dates.read(text);
    if (!day) writeErr("kalvo-date: 「" + std::string(text) + "」は日付として読めません\n");
    return day;
}

int printSpan(const Options& o, const Dates& dates) {
    if (o.args.size() != 2) throw UsageError{"--span には日付を二つ指定します"};
    const auto a = readArgument(dates, o.args[0]), b = readArgument(dates, o.args[1]);
    if (!a || !b) return 1;
    const Span span = computeSpan(serialOfUnixDay(*a), serialOfUnixDay(*b), o.countStart);
    using holidays::BusinessRule;
    const auto count = [&](BusinessRule rule) {
        return dates.business().count(holidays::dateOf(*a), holidays::dateOf(*b), o.countStart, rule);
    };
    const long business = count(BusinessRule::Business), civil = count(BusinessRule::CivilService);
    char buf[256];
    if (o.tsv)
        std::snprintf(buf, sizeof buf, "%ld\t%d\t%d\t%d\t%ld\t%ld\n", span.total, span.years, span.months, span.days,
                      business, civil);
    else
        std::snprintf(buf, sizeof buf, "%ld日間 = %d年 %dヶ月+ %d日間  営業日 %ld日  行政機関の開庁日 %ld日\n",
                      span.total, span.years, span.months, span.days, business, civil);
    writeOut(buf);
    return 0;
}

int printSum(const Options& o, const Dates& dates) {
    if (o.args.size() != 2) throw UsageError{"--add には日付と式 (+10営業日 など) を指定します"};
    const auto from = readArgument(dates, o.args[0]);
    if (!from) return 1;
    const auto expression = holidays::parseDateExpression(trimmed(o.args[1]));
    if (!expression) {
        writeErr("kalvo-date: 「" + std::string(o.args[1]) +
                 "」は +100, -30日, +3ヶ月, +10営業日 の形ではありません\n");
        return 1;
    }
    const auto to = holidays::applyDateExpression(holidays::dateOf(*from), *expression, dates.business());
    if (!to) {
        writeErr("kalvo-date: 結果が 0100/1/1〜9999/12/31 の外になります\n");
        return 1;
    }
    std::string out;
    dates.print(holidays::dayOf(*to), o.tsv, out);
    writeOut(out);
    return 0;
}

int isBusinessDay(const Options& o, const Dates& dates) {
    if (o.args.size() > 1) throw UsageError{"--is-business-day には日付を一つだけ指定します"};
    const auto day = o.args.empty() ? std::optional<int>(todayJst()) : readArgument(dates, o.args[0]);
    if (!day) return 2;  // a date that cannot be read must not look like "closed"
    return dates.business().isBusinessDay(holidays::dateOf(*day), holidays::BusinessRule::Business) ? 0 : 1;
}

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--") break;
        if (a == "--help" || a == "-h") {
            writeOut(kHelp);
            return 0;
        }
        if (a == "--version") {
            writeOut("kalvo-date " KALVO_VERSION "\n");
            return 0;
        }
    }
    try {
        const Options o = parseOptions(argc, argv);
        // The lists are tab-separated already: --tsv changes nothing there.
        if (o.mode == Mode::Terms || o.mode == Mode::Moons) return printEvents(o);
        const Dates dates;
        switch (o.mode) {
            case Mode::Holidays: return printHolidays(o, dates);
            case Mode::Span: return printSpan(o, dates);
            case Mode::Add: return printSum(o, dates);
            case Mode::IsBusinessDay: return isBusinessDay(o, dates);
            default: return printDates(o, dates);
        }
    } catch (const UsageError& e) {
        writeErr("kalvo-date: " + e.message + "\n詳しくは kalvo-date --help をご覧ください。\n");
        return 2;
    }
}

}  // namespace
}  // namespace kalvo

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const int status = kalvo::run(argc, argv);
    if (std::fflush(stdout) != 0) {
        std::fputs("kalvo-date: 標準出力に書けません\n", stderr);
        return 1;
    }
    return status;
}
