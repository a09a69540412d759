// Prints Kalvo's holidays of a range of years, one a line: YYYY-MM-DD<TAB>name, and <TAB>予測
// after a predicted one, for the cross-check against another list (holiday_crosscheck.js).
// The equinox days are the published ones where the tests know them, else those of a file
// of "year<TAB>march day<TAB>september day" lines given on the command line: the other list's
// own days, so that the comparison checks the rules and not the astronomy.
//
//   holiday_list EQUINOX_FILE FIRST_YEAR LAST_YEAR
#include "core/holidays/holidays.h"

#include "holiday_test_support.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

using namespace kalvo::holidays;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: holiday_list EQUINOX_FILE FIRST_YEAR LAST_YEAR\n");
        return 2;
    }
    std::map<int, EquinoxDays> fromFile;
    std::ifstream in(argv[1]);
    int year = 0;
    EquinoxDays days;
    while (in >> year >> days.march >> days.september) fromFile[year] = days;
    // The file's days where a published one is known: a difference is printed, not used.
    for (const auto& [y, d] : fromFile) {
        const auto p = testing::publishedEquinoxes(y);
        if (p && ((d.march && p->march != d.march) || (d.september && p->september != d.september))) {
            std::fprintf(stderr, "%d: published 3/%u and 9/%u, the file has 3/%u and 9/%u\n", y, p->march, p->september,
                         d.march, d.september);
        }
    }
    int published = 0;
    const HolidayCalendar calendar([&](int y) -> std::optional<EquinoxDays> {
        if (auto p = testing::publishedEquinoxes(y)) {
            ++published;
            return p;
        }
        const auto it = fromFile.find(y);
        return it == fromFile.end() ? std::nullopt : std::optional(it->second);
    });
    const int first = std::stoi(argv[2]), last = std::stoi(argv[3]);
    for (int y = first; y <= last; ++y) {
        for (const auto& h : calendar.holidaysOf(y)) {
            std::printf("%s\t%.*s%s\n", testing::iso(h.date).c_str(), static_cast<int>(h.name.size()), h.name.data(),
                        h.predicted ? "\t予測" : "");
        }
    }
    std::fprintf(stderr, "equinox days: %d years published, the others from %s\n", published, argv[1]);
    return 0;
}
