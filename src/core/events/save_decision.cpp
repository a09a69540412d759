#include "core/events/save_decision.h"

namespace kalvo {

SaveStep decideSave(const SaveFacts& f) {
    switch (f.file) {
        case FileNow::AsRead:
        case FileNow::Missing: return SaveStep::Write;
        case FileNow::ReadFailed: return SaveStep::Refuse;
        case FileNow::Changed:
        case FileNow::ChangedUnreadable: break;
    }
    const bool readable = f.file == FileNow::Changed;
    // Nobody to ask: a merge loses nothing; what cannot be merged is not overwritten.
    if (!f.attended) return readable ? SaveStep::Merge : SaveStep::SaveElsewhere;
    // A merge loses nothing whatever the file holds now; an overwrite holds only for the
    // content the user saw.
    if (f.answered == Choice::Merge && readable) return SaveStep::Merge;
    if (f.answered != Choice::None && f.answeredThis)
        return f.answered == Choice::Merge ? SaveStep::Merge : SaveStep::Write;
    return SaveStep::Ask;
}

AnswerTaken takeAnswer(Reply reply, bool readable) {
    switch (reply) {
        case Reply::Yes: return {AfterAnswer::LookAgain, readable ? Choice::Merge : Choice::Overwrite};
        case Reply::No:
            if (!readable) return {AfterAnswer::DoNotSave, Choice::None};
            return {AfterAnswer::LookAgain, Choice::Overwrite};
        case Reply::Other: break;
    }
    return {AfterAnswer::BackToWindow, Choice::None};
}

AfterWrite afterWrite(WriteResult result, bool attended) {
    switch (result) {
        case WriteResult::Written: return AfterWrite::Done;
        case WriteResult::ChangedMeanwhile: return AfterWrite::LookAgain;
        case WriteResult::FolderGone:
        case WriteResult::UnsafeLink: return AfterWrite::OfferHome;
        // Someone who is there can make the list shorter and end again.
        case WriteResult::TooLarge: return attended ? AfterWrite::GoBack : AfterWrite::Stop;
        // Nobody can act on a failure at an unattended end: the change goes to a copy.
        case WriteResult::NoRecoveryCopy:
        case WriteResult::Failed: break;
    }
    return attended ? AfterWrite::Stop : AfterWrite::KeepCopy;
}

}  // namespace kalvo
