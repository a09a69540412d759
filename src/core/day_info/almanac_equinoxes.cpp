#include "core/day_info/almanac_equinoxes.h"

#include "core/almanac/almanac.h"

namespace kalvo {

std::optional<holidays::EquinoxDays> almanacEquinoxDays(int year) {
    if (year < kAlmanacFirstYear || year > kAlmanacLastYear) return std::nullopt;
    constexpr int kMarch = 0, kSeptember = 12;  // 春分, 秋分
    holidays::EquinoxDays days;
    for (const AlmanacEvent& e : solarTermsOf(year, year)) {
        if (e.term != kMarch && e.term != kSeptember) continue;
        int y, m, d;
        almanacDateOf(e.day, y, m, d);
        // A day in another month than its own is passed on as 0: no holiday, never a wrong one.
        const bool inMonth = y == year && m == (e.term == kMarch ? 3 : 9);
        (e.term == kMarch ? days.march : days.september) = inMonth ? static_cast<unsigned>(d) : 0;
    }
    return days;
}

holidays::EquinoxSource almanacEquinoxes() { return almanacEquinoxDays; }

}  // namespace kalvo
