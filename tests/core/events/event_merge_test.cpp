// Putting this run's event file together with what another writer left on disk.
#include "core/events/event_merge.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

using Entries = std::vector<std::string>;
using Kind = EntryEdit::Kind;

EntryEdit add(std::string text) { return {Kind::Add, {}, std::move(text)}; }
EntryEdit change(std::string before, std::string after) { return {Kind::Change, std::move(before), std::move(after)}; }
EntryEdit remove(std::string text) { return {Kind::Delete, std::move(text), {}}; }

TEST(EventMerge, EditsOfThisRunApplyToTheEntriesOnDisk) {
    struct Case {
        const char* what;
        Entries theirs;
        std::vector<EntryEdit> edits;
        Entries expected;
    };
    const Case cases[] = {
        {"added entries go after theirs", {"a", "b", "x"}, {add("y")}, {"a", "b", "x", "y"}},
        {"an entry both added is there once", {"a", "y"}, {add("y")}, {"a", "y"}},
        {"a deletion removes the first occurrence", {"a", "b", "a"}, {remove("a")}, {"b", "a"}},
        {"a deletion of what they deleted changes nothing", {"b"}, {remove("a")}, {"b"}},
        {"a change stays in its place", {"a", "b", "c"}, {change("b", "B")}, {"a", "B", "c"}},
        {"a change of an entry they removed is added", {"a"}, {change("b", "B")}, {"a", "B"}},
        {"a change into a text they hold doubles nothing", {"a", "b", "B"}, {change("b", "B")}, {"a", "B"}},
        {"edits apply in their order", {"a"}, {add("n"), change("n", "m"), remove("a")}, {"m"}},
        {"add then delete leaves nothing", {"a"}, {add("n"), remove("n")}, {"a"}},
        {"their own doubles stay", {"a", "a"}, {add("z")}, {"a", "a", "z"}},
    };
    for (const auto& c : cases) EXPECT_EQ(applyEntryEdits(c.theirs, c.edits), c.expected) << c.what;
}

EventFile file(int flags, int sizeMode, Entries entries, std::string startEntry = "0") {
    EventFile f = defaultEventFile("Ver.2.16");
    f.top = 1500;
    f.left = 3000;
    f.flags = flags;
    f.sizeMode = sizeMode;
    f.entries = std::move(entries);
    f.startEntry = std::move(startEntry);
    return f;
}

TEST(EventMerge, SettingsAreThisRunsWhereItChangedThemAndTheFilesElsewhere) {
    const EventFile base = file(0, 0, {"a"});
    EventFile mine = file(kFlagStartDay, 0, {"a", "m"});
    mine.left = 4500;  // moved
    EventFile theirs = file(kFlagNoMoon, 2, {"a", "t"});
    theirs.comment = "' 手で書いた";
    theirs.top = 600;
    const EventFile out = mergeEventFiles(base, mine, theirs, {add("m")});
    EXPECT_EQ(out.flags, kFlagStartDay | kFlagNoMoon);  // one box ticked here, the other there
    EXPECT_EQ(out.sizeMode, 2);                         // changed there only
    EXPECT_EQ(out.comment, "' 手で書いた");
    EXPECT_EQ(out.top, 1500.0f);  // the place is one value: this run moved the window
    EXPECT_EQ(out.left, 4500.0f);
    EXPECT_EQ(out.entries, (Entries{"a", "t", "m"}));

    mine.left = base.left;
    const EventFile still = mergeEventFiles(base, mine, theirs, {add("m")});
    EXPECT_EQ(still.top, 600.0f);
    EXPECT_EQ(still.left, 3000.0f);
}

// Each check box of line 4 is a setting of its own: a box ticked here and the other box
// ticked there are both kept. Bits with no meaning are not written.
TEST(EventMerge, EachCheckBoxIsMergedOnItsOwn) {
    struct Case {
        const char* what;
        int base, mine, theirs, expected;
    };
    constexpr int ST = kFlagStartDay, BS = kFlagNoMoon;
    const Case cases[] = {
        {"ticked here and the other there", 0, ST, BS, ST | BS},
        {"the other way round", 0, BS, ST, ST | BS},
        {"unticked here, the other ticked there", ST | BS, BS, ST | BS, BS},
        {"ticked here, unticked there", BS, ST | BS, 0, ST},
        {"both unticked one each", ST | BS, BS, ST, 0},
        {"unchanged here: theirs", ST, ST, BS, BS},
        {"the same tick on both sides", 0, ST, ST, ST},
        {"a meaningless bit there is not written", 0, ST, 2 | BS, ST | BS},
    };
    for (const auto& c : cases) {
        const EventFile out = mergeEventFiles(file(c.base, 0, {}), file(c.mine, 0, {}), file(c.theirs, 0, {}), {});
        EXPECT_EQ(out.flags, c.expected) << c.what;
    }
}

TEST(EventMerge, TheStartEntryKeepsNamingTheSameEntry) {
    const EventFile base = file(0, 0, {"a", "b", "c"}, "1");
    struct Case {
        const char* what;
        Entries mineEntries;
        std::string mineStart;
        Entries theirsEntries;
        std::string theirsStart;
        std::vector<EntryEdit> edits;
        std::string expected;
    };
    const Case cases[] = {
        {"theirs: an entry before it went", {"a", "b", "c"}, "1", {"x", "y", "c", "b"}, "3", {}, "3"},
        {"mine: chosen here, shifted there", {"a", "b", "c"}, "2", {"z", "a", "b", "c"}, "2", {}, "3"},
        {"mine: the entry went there", {"a", "b", "c"}, "2", {"a", "b"}, "1", {}, "0"},
        {"mine: chosen entry changed here", {"a", "B", "c"}, "1", {"a", "b", "c"}, "1", {change("b", "B")}, "1"},
        {"not a position: kept as it stands", {"a", "b", "c"}, "1", {"a"}, "abc", {}, "abc"},
    };
    for (const auto& c : cases) {
        const EventFile mine = file(0, 0, c.mineEntries, c.mineStart);
        const EventFile theirs = file(0, 0, c.theirsEntries, c.theirsStart);
        EXPECT_EQ(mergeEventFiles(base, mine, theirs, c.edits).startEntry, c.expected) << c.what;
    }
}

}  // namespace
}  // namespace kalvo
