#include "actions/GroupActions.h"

#include "actions/Counters.h"
#include "actions/Rests.h"
#include "tests/actions/Party.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using actions_testing::errorOf;
using actions_testing::Party;
using actions_testing::Row;

// A roster of characters named A, B, C ... in this order, each with APoints 1 and the given PC.
std::string rosterOf(const std::vector<const char*>& pcs)
{
    std::string sql;
    for (std::size_t i = 0; i < pcs.size(); ++i)
        sql += "INSERT INTO Table1 (Name, APoints, PC) VALUES ('" +
               std::string(1, static_cast<char>('A' + i)) + "', 1, " + pcs[i] + ");";
    return sql;
}

std::vector<std::string> actionPoints(const Party& party)
{
    std::vector<std::string> points;
    for (const auto& r : party.file.rows("SELECT APoints FROM Table1 ORDER BY ID"))
        points.push_back(r[0]);
    return points;
}

TEST(GroupActions, EveryPlayerCharacterOnceAndTheCursorOnTheLast)
{
    const struct {
        const char* label;
        std::vector<const char*> pcs;
        std::vector<std::string> points;
    } cases[] = {
        {"PC, NPC, PC, PC", {"1", "0", "1", "1"}, {"2", "1", "2", "2"}},
        {"first record an NPC", {"0", "1", "1"}, {"1", "2", "2"}},
        {"NPCs only", {"0", "0"}, {"1", "1"}},
        {"PC without a value is an NPC", {"1", "NULL", "1"}, {"2", "1", "2"}},
        {"one player character", {"1"}, {"2"}},
        {"empty roster", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Party party(rosterOf(c.pcs));
        store::Dataset& roster = party.roster();
        int runs = 0;
        actions::forEachPlayerCharacter(roster, [&] {
            ++runs;
            actions::addActionPoint(roster);
        });
        EXPECT_EQ(actionPoints(party), c.points);
        EXPECT_EQ(party.posts(), runs);
        EXPECT_EQ(roster.recordCount(), static_cast<int>(c.pcs.size())); // nothing started
        EXPECT_EQ(roster.recNo(), static_cast<int>(c.pcs.size()) - 1);
        EXPECT_EQ(roster.state(), store::DatasetState::Browse);
    }
}

TEST(GroupActions, WalkStartsAtTheFirstRecordWhereverTheCursorIs)
{
    Party party(rosterOf({"1", "1", "1"}));
    party.roster().last();
    actions::forEachPlayerCharacter(party.roster(),
                                    [&] { actions::addActionPoint(party.roster()); });
    EXPECT_EQ(actionPoints(party), (std::vector<std::string>{"2", "2", "2"}));
}

TEST(GroupActions, WalkFollowsTheRosterOrder)
{
    Party party("INSERT INTO Table1 (Name, Initiative, PC) VALUES ('Slow', 2, 1), ('Quick', 9, 1), "
                "('Goblin', 5, 0),"
                " ('Mid', 5, 1)");
    party.roster().setSort("Initiative DESC");
    actions::forEachPlayerCharacter(party.roster(), [&] { actions::addMilestone(party.roster()); });
    EXPECT_EQ(party.writtenNames(), (std::vector<std::string>{"Quick", "Mid", "Slow"}));
    EXPECT_EQ(party.roster().fieldByName("Name").asString(), "Slow");
}

TEST(GroupActions, GroupExtendedRestPostsEachPlayerCharacterTwice)
{
    Party party(
        "INSERT INTO Table1 (Name, CurHP, TotalHP, Stunned, PC) VALUES ('Ash', 3, 30, 1, 1),"
        " ('Goblin', 2, 25, 1, 0), ('Bo', 0, 20, 1, 1)");
    actions::forEachPlayerCharacter(party.roster(),
                                    [&] { actions::takeExtendedRest(party.roster()); });
    EXPECT_EQ(party.writtenNames(), (std::vector<std::string>{"Ash", "Ash", "Bo", "Bo"}));
    EXPECT_EQ(party.row("Ash", "CurHP, Stunned"), (Row{"30", "0"}));
    EXPECT_EQ(party.row("Goblin", "CurHP, Stunned"), (Row{"2", "1"}));
    EXPECT_EQ(party.row("Bo", "CurHP, Stunned"), (Row{"20", "0"}));
}

TEST(GroupActions, RefusedPostEndsTheWalkKeepingEarlierRecords)
{
    Party party(rosterOf({"1", "0", "1", "1"}) +
                "CREATE TRIGGER Refuse BEFORE UPDATE ON Table1 WHEN OLD.Name = 'C'"
                " BEGIN SELECT RAISE(ABORT, 'C is away'); END;");
    store::Dataset& roster = party.roster();
    EXPECT_EQ(errorOf([&] {
                  actions::forEachPlayerCharacter(roster, [&] { actions::addActionPoint(roster); });
              }),
              "C is away");
    EXPECT_EQ(actionPoints(party), (std::vector<std::string>{"2", "1", "1", "1"}));
    // The refused record stays under the cursor with its change pending.
    EXPECT_EQ(roster.fieldByName("Name").asString(), "C");
    EXPECT_EQ(roster.state(), store::DatasetState::Edit);
    EXPECT_EQ(party.writtenNames(), (std::vector<std::string>{"A"}));
}

// The walk is one step of the master: one commit for all of it, and a commit that fails
// leaves nothing of it in the file, says so, and shows the file as it is.
TEST(GroupActions, TheWalkIsCommittedOnceOrNotAtAll)
{
    Party party(rosterOf({"1", "0", "1", "1"}));
    store::Dataset& roster = party.roster();
    int commits = 0;
    sqlite3_commit_hook(
        party.store.ADOConnection1.handle(),
        [](void* count) {
            ++*static_cast<int*>(count);
            return 0;
        },
        &commits);
    actions::forEachPlayerCharacter(roster, [&] { actions::takeExtendedRest(roster); });
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(party.writtenNames(), (std::vector<std::string>{"A", "A", "C", "C", "D", "D"}));

    // The final commit refused: nothing of the step is written.
    party.file.sql("DELETE FROM PostLog");
    const std::string before = party.file.bytes();
    int seen = 0;
    const std::string message = errorOf([&] {
        actions::forEachPlayerCharacter(roster, [&] {
            actions::addActionPoint(roster);
            // After the last player character's post, the commit is the next write.
            if (++seen == 3)
                sqlite3_commit_hook(
                    party.store.ADOConnection1.handle(), [](void*) { return 1; }, nullptr);
        });
    });
    sqlite3_commit_hook(party.store.ADOConnection1.handle(), nullptr, nullptr);
    EXPECT_EQ(message.rfind("Nothing of this step was saved: ", 0), 0u) << message;
    EXPECT_EQ(party.file.bytes(), before);
    EXPECT_EQ(actionPoints(party), (std::vector<std::string>{"1", "1", "1", "1"}));
    // The roster was read again: it shows the file, not the step that was not saved.
    EXPECT_EQ(roster.state(), store::DatasetState::Browse);
    EXPECT_EQ(roster.fieldByName("APoints").asInteger(), 1);
    roster.last();
    EXPECT_EQ(roster.fieldByName("APoints").asInteger(), 1);
}

// The controls showing the roster and its items are told of the step once, when it ends,
// and then show where the walk left the cursor.
TEST(GroupActions, TheControlsAreToldOnceWhenTheStepEnds)
{
    // Declared first: the datasets tell their listeners when they go.
    std::vector<store::DatasetEvent> told, toldItems;
    std::vector<std::string> namesShown;
    Party party(rosterOf({"1", "0", "1", "1", "1", "0", "1"}));
    store::Dataset& roster = party.roster();
    roster.subscribe([&](store::DatasetEvent e) {
        told.push_back(e);
        if (e == store::DatasetEvent::CursorMoved)
            namesShown.push_back(roster.fieldByName("Name").asString());
    });
    party.store.ADOTable3.subscribe([&](store::DatasetEvent e) { toldItems.push_back(e); });
    actions::forEachPlayerCharacter(roster, [&] { actions::takeExtendedRest(roster); });
    EXPECT_EQ(told, (std::vector<store::DatasetEvent>{store::DatasetEvent::CursorMoved,
                                                      store::DatasetEvent::RecordChanged,
                                                      store::DatasetEvent::StateChanged}));
    EXPECT_EQ(namesShown, (std::vector<std::string>{"G"}));
    EXPECT_LE(toldItems.size(), 4u);
    // Outside a step every change is told as it happens.
    told.clear();
    actions::addActionPoint(roster);
    EXPECT_GE(told.size(), 3u);
}

} // namespace
