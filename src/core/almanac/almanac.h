// The almanac of a date: 旧暦 (by the 天保暦 rules as the Japanese almanac makers apply them),
// 六曜, the 干支 of the day and of the year, and the 二十四節気; and the lists of solar terms
// and new moons. Days are counted from 1970-01-01 and are Japan Standard Time (UTC+9) days;
// instants are seconds since 1970-01-01 00:00 UT.
//
// The tables are computed on first use, one year at a time, and kept; every function is safe
// to call from several threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// The years whose dates get a 旧暦: from the first year of the 天保暦 on.
inline constexpr int kAlmanacFirstYear = 1844;
inline constexpr int kAlmanacLastYear = 2200;

// Days since 1970-01-01 of a Gregorian date, and back.
int almanacDayOf(int year, int month, int day);
void almanacDateOf(int day, int& year, int& month, int& dayOfMonth);

struct LunarDate {
    int year = 0;       // the 旧暦 year, numbered as the Western year it mostly lies in
    int month = 0;      // 1-12
    bool leap = false;  // 閏月
    int day = 0;        // 1-30
};

struct AlmanacDay {
    bool hasLunar = false;  // false outside kAlmanacFirstYear..kAlmanacLastYear: no 旧暦, no 六曜
    LunarDate lunar;
    int rokuyo = -1;           // 0 大安, 1 赤口, 2 先勝, 3 友引, 4 先負, 5 仏滅
    int dayKanshi = 0;         // 0 甲子 ... 59 癸亥
    int yearKanshi = 0;        // of the Western year, as New Year cards count it
    int term = -1;             // the solar term the date falls in: 0 春分, 1 清明, ... 23 啓蟄
    int termStartDay = 0;      // the day that term began
    int termToday = -1;        // the term that begins on this day, or -1
    bool provisional = false;  // 暫定: the month depends on how the 2033 problem is resolved
    bool estimated = false;    // 推定: before 1873, when Japan still kept its older calendar
};

// The almanac of one day. Dates outside the covered years still get their 干支; their solar
// term is given from 1843 to 2201.
AlmanacDay almanacOf(int day);

struct AlmanacEvent {
    double unixSeconds = 0;  // the instant, UT
    int day = 0;             // its JST day
    int term = -1;           // the solar term (0 春分 ... 23 啓蟄), or -1 for a new moon
};

// Every solar term, or every new moon, whose JST date lies in the years first..last (each
// within 1843..2201), in order.
std::vector<AlmanacEvent> solarTermsOf(int firstYear, int lastYear);
std::vector<AlmanacEvent> newMoonsOf(int firstYear, int lastYear);

std::string_view solarTermName(int term);  // 0 春分 ... 18 冬至 ... 21 立春 ... 23 啓蟄
std::string_view rokuyoName(int rokuyo);
std::string kanshiName(int kanshi);  // e.g. 甲子
// "YYYY-MM-DD HH:MM:SS" in JST, rounded to the second.
std::string jstText(double unixSeconds);

}  // namespace kalvo
