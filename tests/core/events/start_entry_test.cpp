#include "core/events/event_file.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

TEST(StartEntry, StoredPositionReadsWholeNumbersOnly) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"3", 3},
        {" 3 ", 3},
        {"\xE3\x80\x80"
         "5",
         5},
        {"-1", -1},
        {"+2", 2},
        {"007", 7},
        {"", std::nullopt},
        {"x", std::nullopt},
        {"1.5", std::nullopt},
        {"3 4", std::nullopt},
        {"99999999999", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(storedPosition(text), expected) << text;
}

TEST(StartEntry, PositionFallsBackToTheFirstEntry) {
    EXPECT_EQ(startEntryPosition("2", 4), 2);
    EXPECT_EQ(startEntryPosition("4", 4), 0);
    EXPECT_EQ(startEntryPosition("-1", 4), 0);
    EXPECT_EQ(startEntryPosition("abc", 4), 0);
}

// Deleting an entry at or before the start entry keeps the start on the same entry.
TEST(StartEntry, DeleteRenumbering) {
    EXPECT_EQ(startEntryAfterDelete("3", 0), "2");
    EXPECT_EQ(startEntryAfterDelete("3", 3), "2");
    EXPECT_EQ(startEntryAfterDelete("3", 5), "3");
    EXPECT_EQ(startEntryAfterDelete("0", 0), "0");
    EXPECT_EQ(startEntryAfterDelete(" 3 ", 1), "2");
    EXPECT_EQ(startEntryAfterDelete("x", 0), "x");
    EXPECT_EQ(startEntryAfterDelete("-1", 0), "-1");
}

}  // namespace
}  // namespace kalvo
