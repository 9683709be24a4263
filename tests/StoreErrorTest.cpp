#include "store/StoreError.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(StoreErrorTest, AFileThatDoesNotOpenHasTheProblemOfWhatStoppedIt)
{
    const auto unreadable = [](StoreReason cause) {
        return StoreError{cause}.causing(StoreReason::Unreadable, u"pic.edb"_s).problem();
    };
    EXPECT_EQ(unreadable(StoreReason::Busy), LibraryProblem::Busy);
    EXPECT_EQ(unreadable(StoreReason::Damaged), LibraryProblem::Damaged);
    EXPECT_EQ(unreadable(StoreReason::DiskError), LibraryProblem::Unavailable);
    EXPECT_EQ(StoreError{StoreReason::Damaged}.causing(StoreReason::Unopenable, u"pic.EDT"_s).problem(),
              LibraryProblem::Damaged);
    const StoreError refused{StoreReason::Unreadable, u"pic.edb"_s};
    EXPECT_EQ(refused.problem(), LibraryProblem::Unavailable) << "a file the system would not let us read is not damaged";
    EXPECT_EQ(StoreError{StoreReason::Damaged}.causing(StoreReason::CannotCreate).problem(), LibraryProblem::Unavailable)
        << "nothing to replace where no library was";
    const StoreError newer{StoreReason::NewerBuild, u"pic.edb"_s};
    EXPECT_EQ(newer.problem(), LibraryProblem::NewerBuild);
}
