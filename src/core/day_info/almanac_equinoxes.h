// 春分日 and 秋分日 for the holidays, from the almanac: the JST day on which the Sun's
// apparent longitude reaches 0° and 180°, as the government's almanac announces them.
#pragma once

#include "core/holidays/holidays.h"

#include <optional>

namespace kalvo {

// The equinox days of a year the almanac covers (kAlmanacFirstYear..kAlmanacLastYear);
// nullopt for any other year, which then has no equinox holidays.
std::optional<holidays::EquinoxDays> almanacEquinoxDays(int year);

// The same as an EquinoxSource for holidays::HolidayCalendar.
holidays::EquinoxSource almanacEquinoxes();

}  // namespace kalvo
