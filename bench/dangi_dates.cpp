// The peer of kalvo-date's whole-program figure: a program that reads ISO dates on standard
// input, one a line, and prints for each the month, leap flag and day of ICU's lunisolar
// calendar on UTC+9 (dangi), tab-separated. With --list Y1 Y2 it prints every date of those
// years instead, the input of both programs.
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    using namespace std::chrono;
    if (argc == 4 && std::string(argv[1]) == "--list") {
        const sys_days first{year{std::stoi(argv[2])} / January / 1}, last{year{std::stoi(argv[3])} / December / 31};
        for (sys_days d = first; d <= last; d += days{1}) {
            const year_month_day ymd{d};
            std::printf("%04d-%02u-%02u\n", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                        static_cast<unsigned>(ymd.day()));
        }
        return 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icu::TimeZone::createTimeZone("GMT+09:00"),
                                                                          icu::Locale("ko_KR@calendar=dangi"), status));
    if (U_FAILURE(status)) {
        std::fputs("ICU has no dangi calendar\n", stderr);
        return 1;
    }
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        int y = 0;
        unsigned m = 0, d = 0;
        if (std::sscanf(line.c_str(), "%d-%u-%u", &y, &m, &d) != 3) {
            std::fprintf(stderr, "not a date: %s\n", line.c_str());
            return 1;
        }
        // Noon JST of the day.
        const auto day = sys_days{year{y} / month{m} / std::chrono::day{d}}.time_since_epoch().count();
        calendar->setTime((static_cast<double>(day) * 86400.0 + 3 * 3600.0) * 1000.0, status);
        std::printf("%s\t%d\t%d\t%d\n", line.c_str(), calendar->get(UCAL_MONTH, status) + 1,
                    calendar->get(UCAL_IS_LEAP_MONTH, status), calendar->get(UCAL_DATE, status));
    }
    return U_FAILURE(status) ? 1 : 0;
}
