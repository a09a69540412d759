// What Kalvo says about one date beyond the panel's own figures: its holiday, 旧暦, 六曜,
// 干支 and solar term, as the pieces of text that kalvo-date prints and that a tooltip can
// show, and as the nine plain columns of kalvo-date --tsv. Days are counted from 1970-01-01
// as in the almanac and the holidays.
#pragma once

#include "core/almanac/almanac.h"
#include "core/era/era_table.h"
#include "core/holidays/holidays.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

struct DayInfo {
    int day = 0;
    int year = 0, month = 0, dayOfMonth = 0;
    int weekday = 0;  // 0 日 .. 6 土
    std::string era;  // "令和8年12月8日" as the window writes it; empty where no era applies
    std::optional<holidays::Holiday> holiday;
    AlmanacDay almanac;
};

// `eras` newest first, as the table in force holds them.
DayInfo dayInfoOf(int day, const holidays::HolidayCalendar& holidays, std::span<const EraRow> eras);

std::string isoDate(int day);               // "2026-12-08"
std::string_view weekdayName(int weekday);  // "日" .. "土"
// "祝日 文化の日", "振替休日" or "国民の休日", followed by "（予測）" for a prediction.
std::string holidayText(const holidays::Holiday& holiday);
// The 旧暦 as "2025/閏6/1"; empty when the date has none.
std::string lunarColumn(const AlmanacDay& almanac);

// The holiday (if any), 旧暦 and 六曜 (where the almanac gives them, marked 推定 or 暫定),
// the day's and the year's 干支 and the solar term ("大雪 12/7 から"), in that order.
std::vector<std::string> almanacParts(const DayInfo& info);
// "2026-12-08（火）  令和8年12月8日  " and the almanac parts, two blanks between parts.
std::string readableLine(const DayInfo& info);
// The nine tab-separated columns and a line end: ISO date, 和暦, 曜日, 祝日, 旧暦, 六曜,
// 日の干支, 年の干支, the solar term beginning that day. No marks: they are for reading.
void appendTsvLine(const DayInfo& info, std::string& out);

}  // namespace kalvo
