#include "actions/Rests.h"

#include "store/PartyStore.h"
#include "tests/actions/Party.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using actions_testing::errorOf;
using actions_testing::Party;
using actions_testing::Row;

// Every condition in force, the second wind used, and every counter and hit point set.
const char* const worn = "INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP, APoints, Milestone, "
                         "UsedMilestone, UsedAPoints, UsedEnc,"
                         " UsedDaily, UsedDailyItem, HealingSurgesUsed, UsedSecondWind, Blinded, "
                         "Dazed, Dominated, Dying, Helpless,"
                         " Immobilized, Marked, Petrified, Prone, Restrained, Slowed, Stunned, "
                         "Surprised, Unconscious, Weakened)"
                         " VALUES ('Ash', -4, 5, 30, 3, 2, 1, 1, 2, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1, "
                         "1, 1, 1, 1, 1, 1, 1, 1, 1)";

const std::string conditions =
    "Blinded, Dazed, Dominated, Dying, Helpless, Immobilized, Marked, Petrified, Prone,"
    " Restrained, Slowed, Stunned, Surprised, Unconscious, Weakened";
const std::string resources =
    "CurHP, TempHP, TotalHP, APoints, Milestone, UsedMilestone, UsedAPoints, UsedEnc,"
    " UsedDaily, UsedDailyItem, HealingSurgesUsed, UsedSecondWind";

// Every condition false but Dying.
const Row restedConditions = {"0", "0", "0", "1", "0", "0", "0", "0",
                              "0", "0", "0", "0", "0", "0", "0"};

TEST(Rests, ShortRestEndsEveryConditionButDying)
{
    Party party(worn);
    actions::takeShortRest(party.roster());
    EXPECT_EQ(party.row("Ash", conditions), restedConditions);
    // Only the encounter powers and the second wind come back.
    EXPECT_EQ(party.row("Ash", resources),
              (Row{"-4", "5", "30", "3", "2", "1", "1", "0", "1", "1", "3", "0"}));
    EXPECT_EQ(party.posts(), 1);
    EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
}

TEST(Rests, ExtendedRestRestoresEverythingButDying)
{
    Party party(worn);
    actions::takeExtendedRest(party.roster());
    EXPECT_EQ(party.row("Ash", conditions), restedConditions);
    EXPECT_EQ(party.row("Ash", resources),
              (Row{"30", "0", "30", "1", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(party.posts(), 2);
    EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
}

TEST(Rests, ExtendedRestWithoutMaximumHitPointsGivesZero)
{
    Party party("INSERT INTO Table1 (Name, CurHP, TotalHP) VALUES ('Ash', 12, NULL)");
    actions::takeExtendedRest(party.roster());
    EXPECT_EQ(party.row("Ash", "CurHP, TotalHP"), (Row{"0", "NULL"}));
}

TEST(Rests, RefusedSecondCycleKeepsTheShortRest)
{
    Party party(std::string(worn) + ";CREATE TRIGGER Refuse BEFORE UPDATE OF CurHP ON Table1"
                                    " BEGIN SELECT RAISE(ABORT, 'hit points are frozen'); END;");
    EXPECT_EQ(errorOf([&] { actions::takeExtendedRest(party.roster()); }), "hit points are frozen");
    EXPECT_EQ(party.row("Ash", conditions), restedConditions);
    EXPECT_EQ(party.row("Ash", resources),
              (Row{"-4", "5", "30", "3", "2", "1", "1", "0", "1", "1", "3", "0"}));
    EXPECT_EQ(party.roster().state(), store::DatasetState::Edit);
}

TEST(Rests, EmptyRosterStoresANewRecordOfTheRest)
{
    Party party;
    actions::takeShortRest(party.roster());
    ASSERT_EQ(party.recordCount(), 1);
    EXPECT_EQ(party.file.scalar("SELECT Name FROM Table1"), "NULL");
    EXPECT_EQ(party.posts(), 1);
    // The extended rest's second cycle then finds the record its short rest stored.
    actions::takeExtendedRest(party.roster());
    EXPECT_EQ(party.recordCount(), 1);
    EXPECT_EQ(party.file.rows("SELECT APoints, CurHP FROM Table1"), (std::vector<Row>{{"1", "0"}}));
}

} // namespace
