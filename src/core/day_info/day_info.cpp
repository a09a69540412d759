#include "core/day_info/day_info.h"

#include "core/calendar/date_serial.h"
#include "core/era/date_text.h"

#include <cstdio>

namespace kalvo {
namespace {

constexpr std::string_view kEstimated = "（推定）";
constexpr std::string_view kProvisional = "（暫定）";

std::string lunarMonthDay(const LunarDate& l) {
    return (l.leap ? "閏" : "") + std::to_string(l.month) + "月" + std::to_string(l.day) + "日";
}

std::string_view almanacMark(const AlmanacDay& a) {
    if (a.provisional) return kProvisional;
    if (a.estimated) return kEstimated;
    return {};
}

}  // namespace

DayInfo dayInfoOf(int day, const holidays::HolidayCalendar& holidays, std::span<const EraRow> eras) {
    DayInfo info;
    info.day = day;
    almanacDateOf(day, info.year, info.month, info.dayOfMonth);
    info.weekday = static_cast<int>(holidays::weekdayOf(day));
    info.era = eraDateText(eras, serialOfUnixDay(day));
    info.holiday = holidays.holidayOn(holidays::dateOf(day));
    info.almanac = almanacOf(day);
    return info;
}

std::string isoDate(int day) {
    int y, m, d;
    almanacDateOf(day, y, m, d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

std::string_view weekdayName(int weekday) {
    static constexpr std::string_view names[7] = {"日", "月", "火", "水", "木", "金", "土"};
    return weekday >= 0 && weekday < 7 ? names[weekday] : std::string_view{};
}

std::string holidayText(const holidays::Holiday& holiday) {
    std::string s = holiday.kind == holidays::HolidayKind::National ? "祝日 " + std::string(holiday.name)
                                                                    : std::string(holiday.name);
    if (holiday.predicted) s += "（予測）";
    return s;
}

std::string lunarColumn(const AlmanacDay& a) {
    if (!a.hasLunar) return {};
    return std::to_string(a.lunar.year) + "/" + (a.lunar.leap ? "閏" : "") + std::to_string(a.lunar.month) + "/" +
           std::to_string(a.lunar.day);
}

std::vector<std::string> almanacParts(const DayInfo& info) {
    const AlmanacDay& a = info.almanac;
    std::vector<std::string> parts;
    if (info.holiday) parts.push_back(holidayText(*info.holiday));
    if (a.hasLunar) {
        const std::string_view mark = almanacMark(a);
        parts.push_back("旧暦 " + lunarMonthDay(a.lunar) + std::string(mark));
        parts.push_back(std::string(rokuyoName(a.rokuyo)) + std::string(mark));
    }
    parts.push_back("日の干支 " + kanshiName(a.dayKanshi));
    parts.push_back("年の干支 " + kanshiName(a.yearKanshi) + "（西暦年による）");
    if (a.term >= 0) {
        int y, m, d;
        almanacDateOf(a.termStartDay, y, m, d);
        parts.push_back(std::string(solarTermName(a.term)) + " " + std::to_string(m) + "/" + std::to_string(d) +
                        " から");
    }
    return parts;
}

std::string readableLine(const DayInfo& info) {
    std::string line = isoDate(info.day) + "（" + std::string(weekdayName(info.weekday)) + "）";
    if (!info.era.empty()) line += "  " + info.era;
    for (const std::string& part : almanacParts(info)) line += "  " + part;
    return line;
}

void appendTsvLine(const DayInfo& info, std::string& out) {
    const AlmanacDay& a = info.almanac;
    out += isoDate(info.day);
    out += '\t';
    out += info.era;
    out += '\t';
    out += weekdayName(info.weekday);
    out += '\t';
    if (info.holiday) out += info.holiday->name;
    out += '\t';
    out += lunarColumn(a);
    out += '\t';
    out += rokuyoName(a.rokuyo);  // empty without 旧暦
    out += '\t';
    out += kanshiName(a.dayKanshi);
    out += '\t';
    out += kanshiName(a.yearKanshi);
    out += '\t';
    out += solarTermName(a.termToday);  // empty for -1
    out += '\n';
}

}  // namespace kalvo
