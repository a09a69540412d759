// The span between the two panel dates: total days and an age in years, months, days.
#pragma once

#include "core/calendar/date_serial.h"

namespace kalvo {

struct Span {
    long total = 0;
    int years = 0;
    int months = 0;
    int days = 0;
    bool operator==(const Span&) const = default;
};

// Order-independent. With includeStartDay the count starts the day before the earlier
// date, so the total grows by one and the age counts that day too.
Span computeSpan(Serial a, Serial b, bool includeStartDay);

}  // namespace kalvo
