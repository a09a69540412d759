// The sixteen +/- buttons: what a button index means, the year-scale position test
// that refuses steps leaving the representable range, and the step itself.
#pragma once

#include "core/calendar/date_serial.h"

#include <optional>

namespace kalvo {

enum class StepUnit { Days, Months, Years };

struct AdjustStep {
    StepUnit unit = StepUnit::Days;
    int step = 0;       // signed amount in the unit
    float scale = 0.f;  // one step in years on the position scale
};

// Button index -> unit and step: 21..28 years, 11..14 months, anything else days;
// step codes 1 +1, 2 +5, 3 -1, 4 -5, 5 +10, 6 -10, 7 +50, 8 -50, other 0.
AdjustStep decodeAdjustButton(int index);

// year + month/12 + day/365 of the date, in single precision.
float yearPosition(Serial date);

// The projected position lies within [100.084, 10000.085] (both inclusive).
bool positionAccepted(Serial date, const AdjustStep& step);

// Applies the whole button: the position test, then the addition; nullopt when either
// refuses (the date then stays as it was).
std::optional<Serial> applyAdjustButton(Serial date, int index);

}  // namespace kalvo
