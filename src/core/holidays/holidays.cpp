#include "core/holidays/holidays.h"

#include "core/holidays/holiday_rules.h"

#include <algorithm>

namespace kalvo::holidays {

namespace {

constexpr int kFirstHolidayYear = 1948;

struct Entry {
    Day day;
    std::string_view name;
    HolidayKind kind;
    bool predicted;
};

Day nthMonday(int year, unsigned month, unsigned nth) {
    const Day first = dayOf(year, month, 1);
    const unsigned toMonday = (8 - weekdayOf(first)) % 7;
    return first + static_cast<Day>(toMonday + 7 * (nth - 1));
}

std::optional<Day> ruleDay(const HolidayRule& r, int year, const std::optional<EquinoxDays>& eq) {
    switch (r.rule) {
        case DayRule::Fixed: return dayOf(year, r.month, r.day);
        case DayRule::NthMonday: return nthMonday(year, r.month, r.day);
        case DayRule::MarchEquinox:
        case DayRule::SeptemberEquinox: {
            if (!eq) return std::nullopt;
            const bool march = r.rule == DayRule::MarchEquinox;
            const std::chrono::year_month_day d{std::chrono::year{year}, std::chrono::month{march ? 3u : 9u},
                                                std::chrono::day{march ? eq->march : eq->september}};
            return d.ok() ? std::optional(dayOf(d)) : std::nullopt;
        }
    }
    return std::nullopt;
}

// 第2条's days of the year, with the one-off and moved days, in date order.
std::vector<Entry> nationalHolidays(int year, const std::optional<EquinoxDays>& eq) {
    std::vector<Entry> out;
    const bool predicted = year > kLastAnnouncedEquinoxYear;
    for (const auto& r : holidayRules()) {
        if (year < r.firstYear || year > r.lastYear) continue;
        auto day = ruleDay(r, year, eq);
        if (!day) continue;
        for (const auto& m : movedHolidays()) {
            if (m.year == year && m.name == r.name) day = m.day;
        }
        const bool equinox = r.rule == DayRule::MarchEquinox || r.rule == DayRule::SeptemberEquinox;
        out.push_back({*day, r.name, HolidayKind::National, equinox && predicted});
    }
    for (const auto& o : oneOffHolidays()) {
        if (yearOf(o.day) == year) out.push_back({o.day, o.name, HolidayKind::National, false});
    }
    std::erase_if(out, [](const Entry& e) { return e.day < kLawInForce; });
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.day < b.day; });
    return out;
}

const Entry* findDay(const std::vector<Entry>& entries, Day day) {
    auto it = std::lower_bound(entries.begin(), entries.end(), day, [](const Entry& e, Day d) { return e.day < d; });
    return it != entries.end() && it->day == day ? &*it : nullptr;
}

// 第3条第2項 and 第3項 on top of the 国民の祝日 of one year.
std::vector<Entry> withRestDays(std::vector<Entry> national) {
    std::vector<Entry> rest;
    for (const auto& h : national) {
        if (weekdayOf(h.day) != 0 || h.day < kSubstituteFrom) continue;
        Day next = h.day + 1;
        if (h.day >= kNearestSubstituteFrom) {
            while (findDay(national, next)) ++next;
        } else if (findDay(national, next)) {
            continue;  // the Monday is a 国民の祝日 itself: nothing moves
        }
        rest.push_back({next, "振替休日", HolidayKind::Substitute, h.predicted});
    }
    for (size_t i = 0; i + 1 < national.size(); ++i) {
        const Entry& before = national[i];
        const Entry& after = national[i + 1];
        const Day between = before.day + 1;
        if (after.day != before.day + 2 || between < kCitizensHolidayFrom || weekdayOf(between) == 0) continue;
        const bool taken =
            std::any_of(rest.begin(), rest.end(), [between](const Entry& e) { return e.day == between; });
        if (!taken) rest.push_back({between, "国民の休日", HolidayKind::Citizens, before.predicted || after.predicted});
    }
    national.insert(national.end(), rest.begin(), rest.end());
    std::sort(national.begin(), national.end(), [](const Entry& a, const Entry& b) { return a.day < b.day; });
    return national;
}

}  // namespace

std::string_view kindName(HolidayKind kind) {
    switch (kind) {
        case HolidayKind::National: return "祝日";
        case HolidayKind::Substitute: return "振替休日";
        case HolidayKind::Citizens: return "国民の休日";
    }
    return {};
}

struct HolidayCalendar::Cache {
    // By year from 1948; a year not yet worked out is nullopt.
    std::vector<std::optional<std::vector<Holiday>>> years =
        std::vector<std::optional<std::vector<Holiday>>>(kLastYear - kFirstHolidayYear + 1);
};

HolidayCalendar::HolidayCalendar(EquinoxSource equinoxes)
    : equinoxes_(std::move(equinoxes)), cache_(std::make_unique<Cache>()) {}

HolidayCalendar::~HolidayCalendar() = default;

std::span<const Holiday> HolidayCalendar::holidaysOf(int year) const {
    if (year < kFirstHolidayYear || year > kLastYear) return {};
    auto& slot = cache_->years[static_cast<size_t>(year - kFirstHolidayYear)];
    if (!slot) {
        const std::optional<EquinoxDays> eq = equinoxes_ ? equinoxes_(year) : std::nullopt;
        std::vector<Holiday> list;
        for (const auto& e : withRestDays(nationalHolidays(year, eq))) {
            list.push_back({dateOf(e.day), e.name, e.kind, e.predicted});
        }
        slot = std::move(list);
    }
    return *slot;
}

std::optional<Holiday> HolidayCalendar::holidayOn(std::chrono::year_month_day date) const {
    if (!date.ok()) return std::nullopt;
    for (const auto& h : holidaysOf(static_cast<int>(date.year()))) {
        if (h.date == date) return h;
    }
    return std::nullopt;
}

}  // namespace kalvo::holidays
