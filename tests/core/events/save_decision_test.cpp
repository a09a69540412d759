#include "core/events/save_decision.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

using enum FileNow;
using enum SaveStep;

// Nothing is written over content the user has not chosen to lose, and nobody is asked
// when nobody is there.
TEST(SaveDecision, WhatTheSaveDoesWithWhatItFinds) {
    const struct {
        SaveFacts facts;
        SaveStep step;
    } cases[] = {
        {{Missing, false}, Write},
        {{ReadFailed, true}, Refuse},
        {{ChangedUnreadable, true}, Ask},
        {{Changed, false}, Merge},
        {{ChangedUnreadable, false}, SaveElsewhere},
        {{Changed, true, Choice::Merge, false}, Merge},  // a merge holds for any readable content
        {{ChangedUnreadable, true, Choice::Merge, false}, Ask},
        {{Changed, true, Choice::Overwrite, true}, Write},
        {{Changed, true, Choice::Overwrite, false}, Ask},  // an overwrite only of what was seen
    };
    for (const auto& c : cases) EXPECT_EQ(decideSave(c.facts), c.step) << static_cast<int>(c.facts.file);
    EXPECT_EQ(takeAnswer(Reply::Yes, false).remembered, Choice::Overwrite);
    EXPECT_EQ(takeAnswer(Reply::No, true).remembered, Choice::Overwrite);
    EXPECT_EQ(takeAnswer(Reply::No, false).next, AfterAnswer::DoNotSave);
    EXPECT_EQ(afterWrite(WriteResult::TooLarge, true), AfterWrite::GoBack);
    EXPECT_EQ(afterWrite(WriteResult::TooLarge, false), AfterWrite::Stop);
    EXPECT_EQ(afterWrite(WriteResult::Failed, false), AfterWrite::KeepCopy);
}

}  // namespace
}  // namespace kalvo
