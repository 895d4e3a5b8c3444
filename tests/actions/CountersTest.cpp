#include "actions/Counters.h"

#include "tests/actions/Party.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using actions_testing::Party;
using actions_testing::Row;

const std::string counterColumns =
    "Milestone, APoints, UsedMilestone, UsedAPoints, UsedEnc, UsedDaily, UsedDailyItem";

struct Counter {
    const char* label;
    void (*action)(store::Dataset&);
    Row fromNothing; // the counter columns after the action on a record that has none of them
    Row fromValues;  // the counter columns after the action on 3, 1, 5, 2, 4, 6, 7
};

// clang-format off
const Counter counters[] = {
    {"Add MS",          actions::addMilestone,      {"1", "1", "NULL", "NULL", "NULL", "NULL", "NULL"}, {"4", "2", "5", "2", "4", "6", "7"}},
    {"Use MS",          actions::useMilestone,      {"NULL", "NULL", "1", "1", "NULL", "NULL", "NULL"}, {"3", "1", "6", "3", "4", "6", "7"}},
    {"Add AP",          actions::addActionPoint,    {"NULL", "1", "NULL", "NULL", "NULL", "NULL", "NULL"}, {"3", "2", "5", "2", "4", "6", "7"}},
    {"Use AP",          actions::useActionPoint,    {"NULL", "NULL", "NULL", "1", "NULL", "NULL", "NULL"}, {"3", "1", "5", "3", "4", "6", "7"}},
    {"Use Enc.",        actions::useEncounterPower, {"NULL", "NULL", "NULL", "NULL", "1", "NULL", "NULL"}, {"3", "1", "5", "2", "5", "6", "7"}},
    {"Use Daily",       actions::useDailyPower,     {"NULL", "NULL", "NULL", "NULL", "NULL", "1", "NULL"}, {"3", "1", "5", "2", "4", "7", "7"}},
    {"Use Daily(Item)", actions::useDailyItemPower, {"NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "1"}, {"3", "1", "5", "2", "4", "6", "8"}},
};
// clang-format on

TEST(Counters, EachRaisesItsOwnFieldsInOnePost)
{
    for (const Counter& c : counters) {
        SCOPED_TRACE(c.label);
        Party party("INSERT INTO Table1 (Name, " + counterColumns +
                    ") VALUES ('None', NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
                    " ('Some', 3, 1, 5, 2, 4, 6, 7)");
        // A first increment counts from nothing, and the other counters are not written.
        c.action(party.roster());
        EXPECT_EQ(party.row("None", counterColumns), c.fromNothing);
        party.roster().next();
        c.action(party.roster());
        EXPECT_EQ(party.row("Some", counterColumns), c.fromValues);
        EXPECT_EQ(party.posts(), 2);
        EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
        EXPECT_EQ(party.roster().recNo(), 1);
    }
}

TEST(Counters, AddMilestoneMovesBothSummaries)
{
    Party party("INSERT INTO Table1 (Name, Milestone, APoints, UsedMilestone, UsedAPoints) VALUES "
                "('Ash', 0, 1, 0, 0)");
    const std::string apBefore = party.roster().fieldByName("AP").asString();
    const std::string msBefore = party.roster().fieldByName("MS").asString();
    actions::addMilestone(party.roster());
    EXPECT_EQ(party.row("Ash", "Milestone, APoints"), (Row{"1", "2"}));
    EXPECT_NE(party.roster().fieldByName("AP").asString(), apBefore);
    EXPECT_NE(party.roster().fieldByName("MS").asString(), msBefore);
}

TEST(Counters, NothingStopsSpendingWhatIsNotOwned)
{
    Party party("INSERT INTO Table1 (Name, APoints, UsedAPoints) VALUES ('Ash', 0, 0)");
    actions::useActionPoint(party.roster());
    EXPECT_EQ(party.row("Ash", "APoints, UsedAPoints"), (Row{"0", "1"}));
}

TEST(Counters, EmptyRosterStoresANewRecordWithOnlyTheCounter)
{
    Party party;
    actions::useEncounterPower(party.roster());
    EXPECT_EQ(party.file.rows("SELECT Name, " + counterColumns + " FROM Table1"),
              (std::vector<Row>{{"NULL", "0", "0", "0", "0", "1", "0", "0"}}));
}

} // namespace
