#include "core/calendar/adjust.h"

namespace kalvo {

AdjustStep decodeAdjustButton(int index) {
    AdjustStep s;
    int code = index;
    if (index >= 21 && index <= 28) {
        s.unit = StepUnit::Years;
        code = index - 20;
        s.scale = 1.0f;
    } else if (index >= 11 && index <= 14) {
        s.unit = StepUnit::Months;
        code = index - 10;
        s.scale = 1.0f / 12.0f;
    } else {
        s.unit = StepUnit::Days;
        s.scale = 1.0f / 365.0f;
    }
    switch (code) {
        case 1: s.step = 1; break;
        case 2: s.step = 5; break;
        case 3: s.step = -1; break;
        case 4: s.step = -5; break;
        case 5: s.step = 10; break;
        case 6: s.step = -10; break;
        case 7: s.step = 50; break;
        case 8: s.step = -50; break;
        default: s.step = 0; break;
    }
    return s;
}

float yearPosition(Serial date) {
    const Ymd d = toYmd(date);
    return static_cast<float>(d.year + d.month / 12.0 + d.day / 365.0);
}

bool positionAccepted(Serial date, const AdjustStep& step) {
    constexpr float kLower = 100.084f;
    constexpr float kUpper = 10000.085f;
    const float projected = static_cast<float>(static_cast<double>(step.scale) * step.step + yearPosition(date));
    return projected >= kLower && projected <= kUpper;
}

std::optional<Serial> applyAdjustButton(Serial date, int index) {
    const AdjustStep s = decodeAdjustButton(index);
    if (!positionAccepted(date, s)) return std::nullopt;
    switch (s.unit) {
        case StepUnit::Days: {
            const Serial r = addDays(date, s.step);
            if (!inRange(r)) return std::nullopt;
            return r;
        }
        case StepUnit::Months: return addMonths(date, s.step);
        case StepUnit::Years: return addYears(date, s.step);
    }
    return std::nullopt;
}

}  // namespace kalvo
