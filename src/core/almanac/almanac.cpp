#include "core/almanac/almanac.h"

#include "core/almanac/almanac_events.h"
#include "core/almanac/almanac_table.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>

namespace kalvo {
namespace {

constexpr int kDataFirstYear = kAlmanacDataFirstYear;
constexpr int kDataLastYear = kAlmanacDataLastYear;
constexpr int kYears = kDataLastYear - kDataFirstYear + 1;
constexpr double kJst = 9 * 3600.0;
constexpr double kSecondsPerDay = 86400.0;

int floorDiv(double a, double b) { return static_cast<int>(std::floor(a / b)); }

// A year's events from the table the build wrote (almanac_table.h): the instants as the
// engine computed them, their JST days worked out here.
YearEvents tableYear(int year) {
    const int i = year - almanac_table::kFirstYear;
    YearEvents y;
    for (int j = 0; j < 24; ++j) {
        const double ut = almanac_table::kTerms[i][j];
        y.terms[static_cast<size_t>(j)] = AlmanacEvent{ut, jstDayOfUnix(ut), (19 + j) % 24};
    }
    for (int k = almanac_table::kMoonStart[i]; k < almanac_table::kMoonStart[i + 1]; ++k) {
        const double ut = almanac_table::kMoons[k];
        y.moons.push_back(AlmanacEvent{ut, jstDayOfUnix(ut), -1});
    }
    return y;
}

// The months from the one that holds 冬至 of year-1 to the one before the month that holds
// 冬至 of year: 11月 and 12月 of the 旧暦 year before, then 1月 to 10月, one of them perhaps
// doubled by a leap month.
struct Month {
    int start = 0;  // first JST day
    int end = 0;    // one past the last
    int year = 0;
    int number = 0;
    bool leap = false;
};
struct Span {
    std::vector<Month> months;
    int leapIndex = -1;
    // Days whose month depends on how a conflict of the rules is resolved: [from, to).
    int provisionalFrom = 0;
    int provisionalTo = 0;
};

// The month a 中気 names: 春分 (term 0) the 2nd, ... 冬至 (18) the 11th, 大寒 (20) the 12th.
int monthOfChuki(int term) { return (term / 2 + 1) % 12 + 1; }

class Store {
public:
    static Store& instance() {
        static Store s;
        return s;
    }

    const YearEvents* year(int y) {
        if (y < kDataFirstYear || y > kDataLastYear) return nullptr;
        auto& slot = years_[y - kDataFirstYear];
        if (const YearEvents* p = slot.load(std::memory_order_acquire)) return p;
        std::lock_guard lock(mutex_);
        if (const YearEvents* p = slot.load(std::memory_order_relaxed)) return p;
        owned_.push_back(std::make_unique<YearEvents>(tableYear(y)));
        slot.store(owned_.back().get(), std::memory_order_release);
        return owned_.back().get();
    }

    // The span that ends with the month before the one holding 冬至 of y.
    const Span* span(int y) {
        if (y < kAlmanacFirstYear || y > kAlmanacLastYear + 1) return nullptr;
        auto& slot = spans_[y - kDataFirstYear];
        if (const Span* p = slot.load(std::memory_order_acquire)) return p;
        auto built = std::make_unique<Span>(buildSpan(y));
        std::lock_guard lock(mutex_);
        if (const Span* p = slot.load(std::memory_order_relaxed)) return p;
        owned_spans_.push_back(std::move(built));
        slot.store(owned_spans_.back().get(), std::memory_order_release);
        return owned_spans_.back().get();
    }

private:
    Span buildSpan(int y) {
        const YearEvents* before = year(y - 1);
        const YearEvents* self = year(y);
        const YearEvents* after = year(y + 1);
        std::vector<int> moons;
        for (const YearEvents* e : {before, self, after})
            for (const AlmanacEvent& m : e->moons) moons.push_back(m.day);
        std::vector<AlmanacEvent> chuki;
        chuki.push_back(before->terms[23]);  // 冬至 of the year before
        for (const AlmanacEvent& t : self->terms)
            if (t.term % 2 == 0) chuki.push_back(t);
        const int w0 = chuki.front().day;
        const int w1 = chuki.back().day;
        auto monthHolding = [&](int day) {
            size_t i = 0;
            while (i + 1 < moons.size() && moons[i + 1] <= day) ++i;
            return i;
        };
        const size_t m0 = monthHolding(w0), m1 = monthHolding(w1);
        Span s;
        std::vector<int> chukiCount, chukiMonth;
        for (size_t i = m0; i < m1; ++i) {
            Month m;
            m.start = moons[i];
            m.end = moons[i + 1];
            int count = 0, named = 0;
            for (const AlmanacEvent& c : chuki) {
                if (c.day >= m.start && c.day < m.end) {
                    ++count;
                    named = monthOfChuki(c.term);
                }
            }
            chukiCount.push_back(count);
            chukiMonth.push_back(named);
            s.months.push_back(m);
        }
        // Thirteen months: the first after 11月 that holds no 中気 is the leap month.
        if (s.months.size() == 13) {
            for (size_t i = 1; i < s.months.size(); ++i) {
                if (chukiCount[i] == 0) {
                    s.leapIndex = static_cast<int>(i);
                    break;
                }
            }
        }
        int number = 11, lunarYear = y - 1;
        for (size_t i = 0; i < s.months.size(); ++i) {
            Month& m = s.months[i];
            if (static_cast<int>(i) == s.leapIndex) {
                m.leap = true;
            } else if (i > 0) {
                number = number % 12 + 1;
                if (number == 1) lunarYear = y;
            }
            m.number = number;
            m.year = lunarYear;
        }
        // Where the months break the rules they were counted by (a month without 中気 that
        // is not leap, a leap month with one, a 中気 in a month of another number, two in
        // one month), another count was as good: the days from the first such month to the
        // end of the nearest leap month are provisional. The leap month may lie in the
        // next span (2033: the rules break from August, and 閏11月 comes in December).
        int first = -1, last = -1;
        for (size_t i = 0; i < s.months.size(); ++i) {
            const Month& m = s.months[i];
            const bool broken = m.leap ? chukiCount[i] > 0 : chukiCount[i] != 1 || chukiMonth[i] != m.number;
            if (broken) {
                if (first < 0) first = static_cast<int>(i);
                last = static_cast<int>(i);
            }
        }
        if (first >= 0) {
            s.provisionalFrom = s.months[first].start;
            s.provisionalTo = s.months[last].end;
            if (s.leapIndex >= 0) {
                s.provisionalFrom = std::min(s.provisionalFrom, s.months[s.leapIndex].start);
                s.provisionalTo = std::max(s.provisionalTo, s.months[s.leapIndex].end);
            } else if (const Span* next = span(y + 1); next && next->leapIndex >= 0 && next->leapIndex <= 3) {
                s.provisionalTo = next->months[next->leapIndex].end;
            }
        }
        return s;
    }

    std::recursive_mutex mutex_;
    std::array<std::atomic<const YearEvents*>, kYears> years_{};
    std::array<std::atomic<const Span*>, kYears> spans_{};
    std::vector<std::unique_ptr<YearEvents>> owned_;
    std::vector<std::unique_ptr<Span>> owned_spans_;
};

int mod(int a, int m) { return ((a % m) + m) % m; }

}  // namespace

int almanacDayOf(int year, int month, int day) {
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    return static_cast<int>(sys_days{ymd}.time_since_epoch().count());
}

void almanacDateOf(int day, int& year, int& month, int& dayOfMonth) {
    using namespace std::chrono;
    const year_month_day ymd{sys_days{days{day}}};
    year = static_cast<int>(ymd.year());
    month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    dayOfMonth = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

AlmanacDay almanacOf(int day) {
    AlmanacDay a;
    int y, m, d;
    almanacDateOf(day, y, m, d);
    // Julian day number at noon, plus 49, counts the days from a 甲子.
    a.dayKanshi = mod(day + 2440588 + 49, 60);
    a.yearKanshi = mod(y - 4, 60);
    a.estimated = day < almanacDayOf(1873, 1, 1);
    Store& store = Store::instance();

    if (const YearEvents* self = store.year(y)) {
        const YearEvents* before = store.year(y - 1);
        const AlmanacEvent* in = before ? &before->terms[23] : nullptr;
        for (const AlmanacEvent& t : self->terms) {
            if (t.day > day) break;
            in = &t;
        }
        if (in) {
            a.term = in->term;
            a.termStartDay = in->day;
            if (in->day == day) a.termToday = in->term;
        }
    }

    if (y < kAlmanacFirstYear || y > kAlmanacLastYear) return a;
    int spanYear = y;
    if (const Span* next = store.span(y + 1); next && day >= next->months.front().start) spanYear = y + 1;
    const Span* span = store.span(spanYear);
    const Span* prev = store.span(spanYear - 1);
    for (const Month& month : span->months) {
        if (day >= month.start && day < month.end) {
            a.hasLunar = true;
            a.lunar = LunarDate{month.year, month.number, month.leap, day - month.start + 1};
            a.rokuyo = (month.number + a.lunar.day) % 6;
            break;
        }
    }
    a.provisional = (day >= span->provisionalFrom && day < span->provisionalTo) ||
                    (prev && day >= prev->provisionalFrom && day < prev->provisionalTo);
    return a;
}

namespace {

std::vector<AlmanacEvent> collect(int firstYear, int lastYear, bool terms) {
    std::vector<AlmanacEvent> out;
    for (int y = firstYear; y <= lastYear; ++y) {
        const YearEvents* e = Store::instance().year(y);
        if (!e) continue;
        if (terms) out.insert(out.end(), e->terms.begin(), e->terms.end());
        else out.insert(out.end(), e->moons.begin(), e->moons.end());
    }
    return out;
}

}  // namespace

std::vector<AlmanacEvent> solarTermsOf(int firstYear, int lastYear) { return collect(firstYear, lastYear, true); }
std::vector<AlmanacEvent> newMoonsOf(int firstYear, int lastYear) { return collect(firstYear, lastYear, false); }

std::string_view solarTermName(int term) {
    static constexpr std::string_view names[24] = {"春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑",
                                                   "大暑", "立秋", "処暑", "白露", "秋分", "寒露", "霜降", "立冬",
                                                   "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄"};
    return term >= 0 && term < 24 ? names[term] : std::string_view{};
}

std::string_view rokuyoName(int rokuyo) {
    static constexpr std::string_view names[6] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    return rokuyo >= 0 && rokuyo < 6 ? names[rokuyo] : std::string_view{};
}

std::string kanshiName(int kanshi) {
    static constexpr std::string_view stems = "甲乙丙丁戊己庚辛壬癸";
    static constexpr std::string_view branches = "子丑寅卯辰巳午未申酉戌亥";
    const int k = mod(kanshi, 60);
    std::string s(stems.substr(static_cast<size_t>(k % 10) * 3, 3));
    s += branches.substr(static_cast<size_t>(k % 12) * 3, 3);
    return s;
}

std::string jstText(double unixSeconds) {
    const double local = std::floor(unixSeconds + kJst + 0.5);
    const int day = floorDiv(local, kSecondsPerDay);
    const int secs = static_cast<int>(local - day * kSecondsPerDay);
    int y, m, d;
    almanacDateOf(day, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, secs / 3600, secs / 60 % 60, secs % 60);
    return buf;
}

}  // namespace kalvo
