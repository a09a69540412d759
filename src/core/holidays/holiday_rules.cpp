// Each row is one line of the law, with the law that made it; a year range ends where a
// later amendment replaced the line. The rows of a year are checked against the law by
// reading down this file.
#include "core/holidays/holiday_rules.h"

namespace kalvo::holidays {

namespace {

constexpr int kOpen = kLastYear;
using enum DayRule;

constexpr HolidayRule kRules[] = {
    // name           first  last   rule              month  day
    {"元日", 1949, kOpen, Fixed, 1, 1},                 // 昭和23年法律第178号
    {"成人の日", 1949, 1999, Fixed, 1, 15},             // 昭和23年法律第178号
    {"成人の日", 2000, kOpen, NthMonday, 1, 2},         // 平成10年法律第141号 (2000-01-01)
    {"建国記念の日", 1967, kOpen, Fixed, 2, 11},        // 昭和41年法律第86号, 昭和41年政令第376号
    {"天皇誕生日", 2020, kOpen, Fixed, 2, 23},          // 平成29年法律第63号 附則 (2019-04-30)
    {"春分の日", 1949, kOpen, MarchEquinox, 3, 0},      // 昭和23年法律第178号
    {"天皇誕生日", 1949, 1988, Fixed, 4, 29},           // 昭和23年法律第178号
    {"みどりの日", 1989, 2006, Fixed, 4, 29},           // 平成元年法律第5号 (1989-02-17)
    {"昭和の日", 2007, kOpen, Fixed, 4, 29},            // 平成17年法律第43号 (2007-01-01)
    {"憲法記念日", 1949, kOpen, Fixed, 5, 3},           // 昭和23年法律第178号
    {"みどりの日", 2007, kOpen, Fixed, 5, 4},           // 平成17年法律第43号 (2007-01-01)
    {"こどもの日", 1949, kOpen, Fixed, 5, 5},           // 昭和23年法律第178号
    {"海の日", 1996, 2002, Fixed, 7, 20},               // 平成7年法律第22号 (1996-01-01)
    {"海の日", 2003, kOpen, NthMonday, 7, 3},           // 平成13年法律第59号 (2003-01-01)
    {"山の日", 2016, kOpen, Fixed, 8, 11},              // 平成26年法律第43号 (2016-01-01)
    {"敬老の日", 1966, 2002, Fixed, 9, 15},             // 昭和41年法律第86号
    {"敬老の日", 2003, kOpen, NthMonday, 9, 3},         // 平成13年法律第59号 (2003-01-01)
    {"秋分の日", 1948, kOpen, SeptemberEquinox, 9, 0},  // 昭和23年法律第178号
    {"体育の日", 1966, 1999, Fixed, 10, 10},            // 昭和41年法律第86号
    {"体育の日", 2000, 2019, NthMonday, 10, 2},         // 平成10年法律第141号 (2000-01-01)
    {"スポーツの日", 2020, kOpen, NthMonday, 10, 2},    // 平成30年法律第57号 (2020-01-01)
    {"文化の日", 1948, kOpen, Fixed, 11, 3},            // 昭和23年法律第178号
    {"勤労感謝の日", 1948, kOpen, Fixed, 11, 23},       // 昭和23年法律第178号
    {"天皇誕生日", 1989, 2018, Fixed, 12, 23},          // 平成元年法律第5号 (1989-02-17)
};

constexpr OneOffHoliday kOneOffs[] = {
    {dayOf(1959, 4, 10), "皇太子明仁親王の結婚の儀"},  // 昭和34年法律第16号
    {dayOf(1989, 2, 24), "昭和天皇の大喪の礼"},        // 平成元年法律第4号
    {dayOf(1990, 11, 12), "即位礼正殿の儀"},           // 平成2年法律第24号
    {dayOf(1993, 6, 9), "皇太子徳仁親王の結婚の儀"},   // 平成5年法律第32号
    {dayOf(2019, 5, 1), "天皇の即位の日"},             // 平成30年法律第99号
    {dayOf(2019, 10, 22), "即位礼正殿の儀"},           // 平成30年法律第99号
};

// 平成27年法律第33号 (東京オリンピック・パラリンピック特別措置法) 第32条.
constexpr MovedHoliday kMoves[] = {
    {2020, "海の日", dayOf(2020, 7, 23)},        // 平成30年法律第55号
    {2020, "スポーツの日", dayOf(2020, 7, 24)},  // 平成30年法律第55号
    {2020, "山の日", dayOf(2020, 8, 10)},        // 平成30年法律第55号
    {2021, "海の日", dayOf(2021, 7, 22)},        // 令和2年法律第68号
    {2021, "スポーツの日", dayOf(2021, 7, 23)},  // 令和2年法律第68号
    {2021, "山の日", dayOf(2021, 8, 8)},         // 令和2年法律第68号
};

}  // namespace

std::span<const HolidayRule> holidayRules() { return kRules; }
std::span<const OneOffHoliday> oneOffHolidays() { return kOneOffs; }
std::span<const MovedHoliday> movedHolidays() { return kMoves; }

}  // namespace kalvo::holidays
