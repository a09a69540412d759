// The prepared era search gives what the row-by-row search and eraYearOf give, for every
// day the program can show, on every table it loads and on tables it never loads.
#include "core/era/era_file.h"
#include "core/era/era_table.h"

#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

namespace kalvo {
namespace {

std::vector<Serial> startsOf(const std::vector<EraRow>& rows) {
    std::vector<Serial> starts;
    for (const auto& row : rows) starts.push_back(row.start);
    return starts;
}

std::vector<Serial> shippedStarts(const char* name) {
    std::ifstream in(std::string(KALVO_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const EraFileResult table = readEraBytes(bytes);
    EXPECT_TRUE(table.ok()) << name;
    return startsOf(table.rows);
}

std::vector<Serial> builtInStarts() {
    std::vector<Serial> starts;
    for (const auto& era : builtInEras()) starts.push_back(era.start);
    return starts;
}

// Counts the days of first..last (every `step`-th) on which the lookup and the plain
// search differ, reporting the first few.
int mismatches(const std::vector<Serial>& starts, long first, long last, long step = 1) {
    const EraLookup lookup(starts);
    int bad = 0;
    for (long d = first; d <= last; d += step) {
        const Serial date = static_cast<Serial>(d);
        const int row = findEra(starts, date);
        const int year = row >= 1 && row <= static_cast<int>(starts.size()) ? eraYearOf(date, starts[row - 1]) : 0;
        const auto found = lookup.find(date);
        if (found.row != row || found.eraYear != year) {
            if (++bad <= 5)
                ADD_FAILURE() << toText(date) << ": row " << found.row << " year " << found.eraYear << ", expected row "
                              << row << " year " << year;
        }
    }
    return bad;
}

TEST(EraLookupTable, AgreesWithTheRowSearchOnEveryDayOfTheLoadedTables) {
    struct Table {
        const char* name;
        std::vector<Serial> starts;
    };
    const Table tables[] = {
        {"built-in", builtInStarts()},
        {"KalvoN.dat", shippedStarts("KalvoN.dat")},
        {"KalvoS.dat", shippedStarts("KalvoS.dat")},
    };
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        ASSERT_FALSE(t.starts.empty());
        EXPECT_EQ(mismatches(t.starts, kMinSerial, kMaxSerial), 0);
    }
}

Serial day(int y, int m, int d) { return fromYmd(y, m, d); }

TEST(EraLookupTable, AgreesOnTablesOfEveryShape) {
    struct Shape {
        const char* what;
        std::vector<Serial> starts;
    };
    const Shape shapes[] = {
        {"empty", {}},
        {"one era", {day(2000, 1, 1)}},
        {"three changes in one year", {day(1400, 12, 31), day(1400, 6, 1), day(1400, 1, 1), day(1399, 12, 31)}},
        {"eras a day apart", {day(1500, 1, 3), day(1500, 1, 2), day(1500, 1, 1)}},
        {"change on 1 January after a long era", {day(1900, 1, 1), day(1000, 7, 7)}},
        {"at both ends of the range", {static_cast<Serial>(kMaxSerial), static_cast<Serial>(kMinSerial)}},
        {"oldest first", {day(1900, 1, 1), day(1950, 1, 1), day(2000, 1, 1)}},
        {"a start repeated", {day(2000, 1, 1), day(1950, 1, 1), day(1950, 1, 1), day(1900, 1, 1)}},
        {"out of order in the middle", {day(2000, 1, 1), day(1900, 1, 1), day(1950, 1, 1), day(1800, 1, 1)}},
    };
    for (const auto& s : shapes) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(mismatches(s.starts, kMinSerial, kMaxSerial, 7), 0);
        EXPECT_EQ(mismatches(s.starts, static_cast<long>(day(1399, 1, 1)), static_cast<long>(day(2001, 1, 1))), 0);
    }
}

TEST(EraLookupTable, ANaNDateLiesBeforeEveryEraAsInTheRowSearch) {
    const auto starts = builtInStarts();
    const Serial nan = std::numeric_limits<Serial>::quiet_NaN();
    const auto found = EraLookup(starts).find(nan);
    EXPECT_EQ(found.row, findEra(starts, nan));
    EXPECT_EQ(found.row, 42);
    EXPECT_EQ(found.eraYear, 0);
    EXPECT_EQ(EraLookup().find(nan).row, 0);
    EXPECT_EQ(EraLookup().rows(), 0);
}

}  // namespace
}  // namespace kalvo
