#include "core/era/era_table.h"

#include <algorithm>
#include <array>
#include <functional>

namespace kalvo {
namespace {

// First days of 慶長 to 平成 as Western dates; 令和 added on top. The serial beside each
// date is what the table holds; the compiler checks every pair against the date core.
// clang-format off
constexpr std::array<BuiltInEra, 41> kBuiltIn{{
    {"れいわ", "令和", {2019, 5, 1}, 43586},
    {"へいせい", "平成", {1989, 1, 8}, 32516},
    {"しょうわ", "昭和", {1926, 12, 25}, 9856},
    {"たいしょう", "大正", {1912, 7, 30}, 4595},
    {"めいじ", "明治", {1868, 10, 23}, -11390},
    {"けいおう", "慶応", {1865, 5, 1}, -12661},
    {"げんじ", "元治", {1864, 3, 27}, -13061},
    {"ぶんきゅう", "文久", {1861, 3, 29}, -14155},
    {"まんえん", "万延", {1860, 4, 8}, -14510},
    {"あんせい", "安政", {1855, 1, 15}, -16420},
    {"かえい", "嘉永", {1848, 4, 1}, -18900},
    {"こうか", "弘化", {1845, 1, 9}, -20078},
    {"てんぽう", "天保", {1831, 1, 23}, -25178},
    {"ぶんせい", "文政", {1818, 5, 26}, -29803},
    {"ぶんか", "文化", {1804, 3, 22}, -34981},
    {"きょうわ", "享和", {1801, 3, 19}, -36080},
    {"かんせい", "寛政", {1789, 2, 19}, -40490},
    {"てんめい", "天明", {1781, 4, 25}, -43347},
    {"あんえい", "安永", {1772, 12, 10}, -46405},
    {"めいわ", "明和", {1764, 6, 30}, -49490},
    {"ほうれき", "宝暦", {1751, 12, 14}, -54072},
    {"かんえん", "寛延", {1748, 8, 5}, -55298},
    {"えんきょう", "延享", {1744, 4, 3}, -56883},
    {"かんぽう", "寛保", {1741, 4, 12}, -57970},
    {"げんぶん", "元文", {1736, 6, 7}, -59740},
    {"きょうほう", "享保", {1716, 8, 9}, -66982},
    {"しょうとく", "正徳", {1711, 6, 11}, -68868},
    {"ほうえい", "宝永", {1704, 4, 16}, -71480},
    {"げんろく", "元禄", {1688, 10, 23}, -77133},
    {"じょうきょう", "貞享", {1684, 4, 5}, -78795},
    {"てんな", "天和", {1681, 11, 9}, -79673},
    {"えんぽう", "延宝", {1673, 10, 30}, -82605},
    {"かんぶん", "寛文", {1661, 5, 23}, -87148},
    {"まんじ", "万治", {1658, 8, 21}, -88154},
    {"めいれき", "明暦", {1655, 5, 18}, -89345},
    {"じょうおう", "承応", {1652, 10, 20}, -90285},
    {"けいあん", "慶安", {1648, 4, 7}, -91942},
    {"しょうほう", "正保", {1645, 1, 13}, -93122},
    {"かんえい", "寛永", {1624, 4, 17}, -100698},
    {"げんな", "元和", {1615, 9, 5}, -103845},
    {"けいちょう", "慶長", {1596, 12, 16}, -110682},
}};
// clang-format on

constexpr BuiltInEra kBuiltInEnd{"#", "#", {1593, 1, 10}, -112118};

constexpr bool serialIsItsDate(const BuiltInEra& row) {
    return fromYmd(row.firstDay.year, row.firstDay.month, row.firstDay.day) == row.start;
}

// Every row's serial is the day written beside it, and the rows run newest first down to
// the end row.
static_assert(std::ranges::all_of(kBuiltIn, serialIsItsDate) && serialIsItsDate(kBuiltInEnd));
static_assert(std::ranges::adjacent_find(kBuiltIn, std::less_equal{}, &BuiltInEra::start) == kBuiltIn.end() &&
              kBuiltIn.back().start > kBuiltInEnd.start);

}  // namespace

std::span<const BuiltInEra> builtInEras() { return kBuiltIn; }

const BuiltInEra& builtInEndRow() { return kBuiltInEnd; }

std::vector<EraRow> builtInEraRows() {
    std::vector<EraRow> rows;
    for (const BuiltInEra& era : kBuiltIn) rows.push_back({era.reading, era.name, era.start});
    return rows;
}

int findEra(std::span<const Serial> starts, Serial date) {
    for (size_t i = 0; i < starts.size(); ++i)
        if (starts[i] <= date) return static_cast<int>(i) + 1;
    return starts.empty() ? 0 : static_cast<int>(starts.size()) + 1;
}

EraLookup::EraLookup(std::span<const Serial> starts) : starts_(starts.begin(), starts.end()) {
    startYears_.reserve(starts_.size());
    for (const Serial s : starts_) startYears_.push_back(yearOf(s));
    for (size_t i = 1; i < starts_.size(); ++i)
        if (!(starts_[i] < starts_[i - 1])) newestFirst_ = false;
    if (!newestFirst_ || starts_.empty()) return;
    firstYear_ = startYears_.back();
    const int lastYear = startYears_.front();
    rowByYear_.resize(static_cast<size_t>(lastYear - firstYear_ + 1));
    size_t row = starts_.size() - 1;  // walks from the oldest row up to the newest
    for (int year = firstYear_; year <= lastYear; ++year) {
        while (row > 0 && startYears_[row - 1] <= year) --row;
        rowByYear_[static_cast<size_t>(year - firstYear_)] = static_cast<unsigned>(row);
    }
}

EraLookup::Found EraLookup::find(Serial date) const {
    const int n = static_cast<int>(starts_.size());
    if (!newestFirst_) {
        const int row = findEra(starts_, date);
        return {row, row >= 1 && row <= n ? eraYearOf(date, starts_[static_cast<size_t>(row - 1)]) : 0};
    }
    if (n == 0) return {};
    // Before the oldest era (also a NaN, which compares false as in findEra).
    if (!(starts_.back() <= date)) return {n + 1, 0};
    const int year = yearOf(date);
    size_t index = 0;  // a year after the newest start's year lies in the newest era
    if (year - firstYear_ < static_cast<int>(rowByYear_.size())) {
        // Every row above this one begins after the end of the date's year.
        index = rowByYear_[static_cast<size_t>(year - firstYear_)];
        while (starts_[index] > date) ++index;  // stops at the oldest row at the latest
    }
    return {static_cast<int>(index) + 1, year - startYears_[index] + 1};
}

int eraYearOf(Serial date, Serial eraStart) { return yearOf(date) - yearOf(eraStart) + 1; }

std::string eraYearText(int row, int eraYear, std::string_view name) {
    if (row == 0 || name == kNoEraName) return {};
    if (eraYear == 1) return "元";
    return std::to_string(eraYear);
}

}  // namespace kalvo
