// Putting together the event file of this run and the file as another writer left it (a
// second Kalvo window in the same folder, a text editor), so that neither loses anything.
//
// The rules, given the file as this run read it (base), as this run would write it (mine)
// and as it is on disk now (theirs):
//  - Each setting (header, version, window place, size, era table, each of the two check
//    boxes of the flags line, both start values, comment) is this run's when this run
//    changed it from base, else the file's as it is now. The window place is one setting
//    (top and left move together); flag bits that no check box stands for are dropped,
//    as every save drops them.
//  - The entries are the file's entries as they are now, in their order, with this run's
//    edits applied to them in the order they were made: a deleted entry goes (its first
//    occurrence), a changed entry is changed where it stands (or added at the end when
//    the file no longer has it), and an added entry goes to the end. An entry is never
//    added or changed into a text the list already holds, so nothing is doubled.
//  - The lower panel's start entry is a list position; it keeps naming the same entry
//    text in the merged list (this run's entry when this run changed the start entry, else
//    the file's, followed through the changes of this run), and 0 when that entry is gone.
#pragma once

#include "core/events/event_file.h"

#include <string>
#include <vector>

namespace kalvo {

struct EntryEdit {
    enum class Kind { Add, Change, Delete };
    Kind kind = Kind::Add;
    std::string before;  // Change, Delete: the entry's text before the edit
    std::string after;   // Add, Change: its text after it
};

// The entries of `entries` with the edits applied as the rules above say.
std::vector<std::string> applyEntryEdits(std::vector<std::string> entries, const std::vector<EntryEdit>& edits);

EventFile mergeEventFiles(const EventFile& base, const EventFile& mine, const EventFile& theirs,
                          const std::vector<EntryEdit>& edits);

}  // namespace kalvo
