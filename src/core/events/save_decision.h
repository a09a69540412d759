// The decisions of the save at the end of a run: from what the save found (the file on
// disk, an earlier answer, whether anybody is there, how a write went) what it does next:
// write, merge, ask, refuse, look again or keep the content elsewhere. Pure, so each rule
// is tested on its own; the window does what they say (window/event_save.cpp): it holds
// the lock, reads and writes, and asks the questions.
#pragma once

namespace kalvo {

// The file on disk next to the one this run read.
enum class FileNow {
    AsRead,             // the bytes this run read (or read and wrote last)
    Missing,            // no file, or no folder
    Changed,            // another writer's content, readable as an event file
    ChangedUnreadable,  // another writer's content that is no event file
    ReadFailed,         // there, but it could not be read
};

// What the user answered about another writer's content, earlier in the same save.
enum class Choice { None, Merge, Overwrite };

struct SaveFacts {
    FileNow file = FileNow::AsRead;
    bool attended = true;            // somebody can answer a question
    Choice answered = Choice::None;  // the earlier answer...
    bool answeredThis = false;       // ...was about the content the file holds now
};

enum class SaveStep {
    Write,          // this run's settings and list, over what is there
    Merge,          // this run's edits into the file as it is now
    Ask,            // whether to merge, overwrite or go back (lock given up first)
    Refuse,         // tell of a write error and write nothing
    SaveElsewhere,  // keep the content in the home folder
};
SaveStep decideSave(const SaveFacts& facts);

// The answer to the question of SaveStep::Ask.
enum class Reply { Yes, No, Other };  // Other: cancel, Escape, the close button
enum class AfterAnswer {
    LookAgain,     // remember the choice and look at the file again
    DoNotSave,     // the user chose to save nothing
    BackToWindow,  // the user goes back to the window
};
struct AnswerTaken {
    AfterAnswer next = AfterAnswer::BackToWindow;
    Choice remembered = Choice::None;
};
AnswerTaken takeAnswer(Reply reply, bool readable);

// How a write went, and what follows it.
enum class WriteResult { Written, ChangedMeanwhile, FolderGone, UnsafeLink, TooLarge, NoRecoveryCopy, Failed };
enum class AfterWrite {
    Done,       // saved
    LookAgain,  // another writer got there first
    OfferHome,  // the file cannot be written where it is: offer the home folder
    GoBack,     // tell why, and go back to the window (the user can change the list)
    Stop,       // tell why, and save nothing
    KeepCopy,   // tell why, and keep the content in a copy without asking
};
AfterWrite afterWrite(WriteResult result, bool attended);

}  // namespace kalvo
