#include "core/events/event_merge.h"

#include <algorithm>

namespace kalvo {
namespace {

using Entries = std::vector<std::string>;

Entries::iterator findEntry(Entries& entries, const std::string& text) {
    return std::find(entries.begin(), entries.end(), text);
}

bool holds(const Entries& entries, const std::string& text) {
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

template <class T>
const T& pick(const T& base, const T& mine, const T& theirs) {
    return mine != base ? mine : theirs;
}

// The entry a stored start position names in a list, if it is a position inside it.
const std::string* namedEntry(const EventFile& f) {
    const auto p = storedPosition(f.startEntry);
    if (!p || *p < 0 || *p >= static_cast<int>(f.entries.size())) return nullptr;
    return &f.entries[static_cast<size_t>(*p)];
}

}  // namespace

Entries applyEntryEdits(Entries entries, const std::vector<EntryEdit>& edits) {
    for (const auto& edit : edits) {
        switch (edit.kind) {
            case EntryEdit::Kind::Add:
                if (!holds(entries, edit.after)) entries.push_back(edit.after);
                break;
            case EntryEdit::Kind::Delete:
                if (auto at = findEntry(entries, edit.before); at != entries.end()) entries.erase(at);
                break;
            case EntryEdit::Kind::Change: {
                if (edit.before == edit.after) break;
                auto at = findEntry(entries, edit.before);
                if (holds(entries, edit.after)) {
                    if (at != entries.end()) entries.erase(at);
                } else if (at != entries.end()) {
                    *at = edit.after;
                } else {
                    entries.push_back(edit.after);
                }
                break;
            }
        }
    }
    return entries;
}

EventFile mergeEventFiles(const EventFile& base, const EventFile& mine, const EventFile& theirs,
                          const std::vector<EntryEdit>& edits) {
    EventFile out;
    out.header = pick(base.header, mine.header, theirs.header);
    out.version = pick(base.version, mine.version, theirs.version);
    // The window place is one value: moved in this run or not.
    const bool moved = mine.top != base.top || mine.left != base.left;
    out.top = moved ? mine.top : theirs.top;
    out.left = moved ? mine.left : theirs.left;
    out.sizeMode = pick(base.sizeMode, mine.sizeMode, theirs.sizeMode);
    out.eraTable = pick(base.eraTable, mine.eraTable, theirs.eraTable);
    // Each check box is a setting of its own; bits no box stands for are not written.
    out.flags = 0;
    for (const int box : {kFlagStartDay, kFlagNoMoon})
        out.flags |= pick(base.flags & box, mine.flags & box, theirs.flags & box);
    out.startDate = pick(base.startDate, mine.startDate, theirs.startDate);
    out.comment = pick(base.comment, mine.comment, theirs.comment);
    out.entries = applyEntryEdits(theirs.entries, edits);

    const bool startChanged = mine.startEntry != base.startEntry;
    const EventFile& owner = startChanged ? mine : theirs;
    if (const std::string* named = namedEntry(owner)) {
        std::string text = *named;
        if (!startChanged) {  // the file's start entry, under the name this run gave it
            for (const auto& edit : edits)
                if (edit.kind == EntryEdit::Kind::Change && edit.before == text) text = edit.after;
        }
        const auto at = std::find(out.entries.begin(), out.entries.end(), text);
        out.startEntry = at == out.entries.end() ? "0" : std::to_string(at - out.entries.begin());
    } else {
        out.startEntry = owner.startEntry;  // no position in the list: kept as it stands
    }
    return out;
}

}  // namespace kalvo
