#include "core/calendar/span.h"

namespace kalvo {

Span computeSpan(Serial a, Serial b, bool includeStartDay) {
    Serial early = a;
    Serial late = b;
    if (early > late) std::swap(early, late);
    const Ymd l = toYmd(late);
    // The day before 0100-01-01 lies outside the representable range; the calendar
    // is proleptic, so the arithmetic simply carries on there.
    if (includeStartDay) early = addDays(early, -1);
    const Ymd e = toYmd(early);

    Span s;
    s.years = l.year - e.year;
    s.months = l.month - e.month;
    s.days = l.day - e.day;
    if (s.days < 0) {
        // Borrow a month: count from the earlier day of month in the month before the
        // later date's month. When that day does not exist there, the reference date
        // rolls on into the later month and may pass the later date itself; the age
        // then stays at 0 days instead of going negative, so it never runs backwards
        // as the later date moves forward.
        const Serial reference = fromYmd(l.year, l.month - 1, e.day);
        s.days = static_cast<int>(diffDays(reference, late));
        if (s.days < 0) s.days = 0;
        s.months -= 1;
    }
    if (s.months < 0) {
        s.months += 12;
        s.years -= 1;
    }
    s.total = diffDays(early, late);
    return s;
}

}  // namespace kalvo
