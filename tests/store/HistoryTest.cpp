#include "store/History.h"

#include "store/Error.h"
#include "store/PartyStore.h"
#include "store/Statement.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PartyFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using store::HistoryStep;
using store::Value;
using testing_support::errorOf;
using testing_support::PartyFile;

// The cases' actions take the fixture, so what they use of it is public.
class PartyHistory : public ::testing::Test {
public:
    void SetUp() override
    {
        file.sql("INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, PC, cp, gp) "
                 "VALUES ('Aldric', 40, 30, 5, 3, 1, 10, 5), ('Brynn', 31, 31, 0, 7.5, 1, 4, 0), "
                 "('Goblin.1', 20, 8, 0, 5, 0, 0, 0);"
                 "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Sword', 4), "
                 "('Aldric', 'Shield', 6);");
        file.open(party);
    }
    std::string contents() const { return file.contents(); }
    void moveTo(const char* name)
    {
        auto& roster = party.ADOTable1;
        roster.first();
        for (int i = 0; i < roster.recordCount(); ++i, roster.next())
            if (roster.fieldByName("Name").value().toString() == name) return;
        FAIL() << name << " is not in the roster";
    }
    void post(const char* name, const char* field, Value value)
    {
        moveTo(name);
        party.ADOTable1.edit();
        party.ADOTable1.fieldByName(field).setValue(value);
        party.ADOTable1.post();
    }
    void runStatement(const std::string& sql)
    {
        store::Statement s(party.ADOConnection1, "ADOQuery1");
        s.setSql(sql);
        s.execute();
    }

    PartyFile file;
    store::PartyStore party;
    store::History& history = party.history;
};

// Each kind of step, undone and redone, leaves the file exactly as it was before and after.
TEST_F(PartyHistory, EachKindOfStepIsUndoneAndRedoneInTheFile)
{
    struct Case {
        const char* name;
        std::function<void(PartyHistory&)> action;
        const char* text;
    };
    const Case cases[] = {
        {"Damage 7 on Aldric",
         [](PartyHistory& t) {
             t.moveTo("Aldric");
             t.party.ADOTable1.edit();
             t.party.ADOTable1.fieldByName("CurHP").setAsInteger(28);
             t.party.ADOTable1.fieldByName("TempHP").setAsInteger(0);
             t.party.ADOTable1.post();
         },
         "Damage 7 on Aldric: HP 30 → 28, temporary 5 → 0"},
        {"Conditions on Brynn", [](PartyHistory& t) { t.post("Brynn", "Prone", Value(true)); },
         "Conditions on Brynn: Prone no → yes"},
        {"Add Item",
         [](PartyHistory& t) {
             t.moveTo("Aldric");
             t.party.ADOTable3.appendValues({Value("Aldric"), Value("Rope"), Value(2)});
         },
         "Add Item: Rope added"},
        {"Delete Char",
         [](PartyHistory& t) {
             t.moveTo("Goblin.1");
             t.party.ADOTable1.deleteRecord();
         },
         "Delete Char: Goblin.1 deleted"},
        {"Delete Item",
         [](PartyHistory& t) {
             t.moveTo("Aldric");
             t.party.ADOTable3.first();
             t.party.ADOTable3.deleteRecord();
         },
         "Delete Item: Sword deleted"},
        {"Add NPC",
         [](PartyHistory& t) {
             t.runStatement("INSERT INTO Table1 (Name, TotalHP, CurHP) VALUES ('Orc.1', 9, 9)");
             t.runStatement("INSERT INTO Table1 (Name, TotalHP, CurHP) VALUES ('Orc.2', 9, 9)");
         },
         "Add NPC: 2 characters added"},
        {"Group Extended Rest",
         [](PartyHistory& t) {
             t.post("Aldric", "CurHP", Value(40));
             t.post("Brynn", "TempHP", Value(3));
         },
         "Group Extended Rest: 2 characters"},
        {"Edit Brynn",
         [](PartyHistory& t) {
             t.runStatement("UPDATE Table1 SET Initiative = 2.25, Name = NULL WHERE ID = 2");
         },
         "Edit Brynn: Name \"Brynn\" → nothing, Initiative 7.5 → 2.25"},
        {"Edit Aldric",
         [](PartyHistory& t) {
             t.runStatement("UPDATE Table1 SET Name = 'Aldric the Bold', AC = 17 WHERE ID = 1");
         },
         "Edit Aldric: Name \"Aldric\" → \"Aldric the Bold\", AC 0 → 17"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = contents();
        {
            HistoryStep step(history, c.name);
            c.action(*this);
        }
        const std::string after = contents();
        ASSERT_NE(before, after);
        ASSERT_TRUE(history.canUndo());
        EXPECT_EQ(history.nextUndo()->name, c.name);
        EXPECT_EQ(history.steps().back().text, c.text);

        history.undo();
        EXPECT_EQ(contents(), before);
        EXPECT_TRUE(history.steps().back().undone);
        ASSERT_TRUE(history.canRedo());
        EXPECT_EQ(history.nextRedo()->name, c.name);

        history.redo();
        EXPECT_EQ(contents(), after);
        EXPECT_FALSE(history.canRedo());
        EXPECT_FALSE(history.steps().back().undone);
        // The datasets read the file again, as the window does after an undo.
        party.ADOTable1.reopen();
        party.ADOTable3.reopen();
    }
    // Undone from the newest back to the first, the file is as it began.
    const std::size_t count = history.steps().size();
    EXPECT_EQ(count, std::size(cases));
    for (std::size_t i = 0; i < count; ++i)
        history.undo();
    EXPECT_FALSE(history.canUndo());
    file.sql("SELECT 1");
    EXPECT_EQ(file.scalar("SELECT group_concat(Name) FROM Table1 ORDER BY ID"),
              "Aldric,Brynn,Goblin.1");
    EXPECT_EQ(file.scalar("SELECT group_concat(Item) FROM Inventory ORDER BY ID"), "Sword,Shield");
    EXPECT_EQ(file.scalar("SELECT CurHP || '/' || TempHP || '/' || Initiative FROM Table1 "
                          "WHERE ID = 2"),
              "31/0/7.5");
}

// A deleted record comes back whole, under its own number, so the items' and the other
// programs' references to it hold again.
TEST_F(PartyHistory, AnUndoneDeleteBringsTheRecordBackWithItsID)
{
    const std::string before = file.rows("SELECT * FROM Table1 WHERE Name = 'Brynn'")[0][0];
    {
        HistoryStep step(history, "Delete Char");
        moveTo("Brynn");
        party.ADOTable1.deleteRecord();
    }
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1 WHERE ID = 2"), "0");
    history.undo();
    EXPECT_EQ(file.rows("SELECT * FROM Table1 WHERE ID = 2")[0][0], before);
    EXPECT_EQ(file.scalar("SELECT Name FROM Table1 WHERE ID = 2"), "Brynn");
}

TEST_F(PartyHistory, AStepThatChangedNothingIsNotRecorded)
{
    {
        HistoryStep step(history, "Apply on Aldric");
        post("Aldric", "CurHP", Value(30)); // the value it already held
    }
    {
        HistoryStep step(history, "Nothing");
    }
    {
        // Changed and changed back within the step: the file is as it was.
        HistoryStep step(history, "Back and forth");
        post("Aldric", "CurHP", Value(1));
        post("Aldric", "CurHP", Value(30));
    }
    EXPECT_TRUE(history.steps().empty());
    EXPECT_FALSE(history.canUndo());
}

TEST_F(PartyHistory, ARolledBackTransactionLeavesNoTrace)
{
    {
        HistoryStep step(history, "Refused");
        store::Transaction t(party.ADOConnection1);
        party.ADOConnection1.exec("UPDATE Table1 SET CurHP = 1 WHERE ID = 1");
        party.ADOConnection1.exec("DELETE FROM Inventory");
    } // rolled back: never committed
    EXPECT_TRUE(history.steps().empty());

    // A post refused because another program changed the row writes nothing, records nothing.
    moveTo("Brynn");
    party.ADOTable1.edit();
    party.ADOTable1.fieldByName("CurHP").setAsInteger(3);
    file.sql("UPDATE Table1 SET CurHP = 29 WHERE Name = 'Brynn'");
    {
        HistoryStep step(history, "Damage on Brynn");
        EXPECT_NE(errorOf([&] { party.ADOTable1.post(); }), "no error");
    }
    EXPECT_TRUE(history.steps().empty());
}

// Only what the rolled-back transaction touched first is dropped; the rest of the step stays.
TEST_F(PartyHistory, ARollbackInsideAStepKeepsWhatWasCommittedBefore)
{
    {
        HistoryStep step(history, "Group Short Rest");
        post("Aldric", "CurHP", Value(35));
        store::Transaction t(party.ADOConnection1);
        party.ADOConnection1.exec("UPDATE Table1 SET CurHP = 1");
    }
    ASSERT_EQ(history.steps().size(), 1u);
    EXPECT_EQ(history.steps().back().text, "Group Short Rest: HP 30 → 35");
    history.undo();
    EXPECT_EQ(file.scalar("SELECT group_concat(CurHP) FROM Table1 ORDER BY ID"), "30,31,8");
}

// Another program changed a row the step touched: the undo is refused by name, nothing is
// written, and the step stays to be undone once the row holds what the step left again.
TEST_F(PartyHistory, AConflictFromAnotherProgramWritesNothing)
{
    struct Case {
        const char* label;
        std::function<void(PartyHistory&)> step;
        const char* otherProgram;
        const char* putBack; // what makes the row hold the step's values again, if anything
        const char* message;
    };
    const Case cases[] = {
        {"changed field",
         [](PartyHistory& t) {
             t.post("Aldric", "CurHP", Value(13));
             t.post("Brynn", "CurHP", Value(20));
         },
         "UPDATE Table1 SET CurHP = 12 WHERE Name = 'Brynn'",
         "UPDATE Table1 SET CurHP = 20 WHERE Name = 'Brynn'",
         "Brynn was changed by another program since; nothing was undone"},
        {"row deleted", [](PartyHistory& t) { t.post("Aldric", "Prone", Value(true)); },
         "DELETE FROM Table1 WHERE Name = 'Aldric'", nullptr,
         "Aldric was changed by another program since; nothing was undone"},
        {"number taken again",
         [](PartyHistory& t) {
             t.moveTo("Goblin.1");
             t.party.ADOTable1.deleteRecord();
         },
         "INSERT INTO Table1 (ID, Name) VALUES (3, 'Intruder')", "DELETE FROM Table1 WHERE ID = 3",
         "Goblin.1 was changed by another program since; nothing was undone"},
        {"added row changed",
         [](PartyHistory& t) {
             t.runStatement(
                 "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Brynn', 'Bow', 3)");
         },
         "UPDATE Inventory SET Weight = 4 WHERE Item = 'Bow'",
         "UPDATE Inventory SET Weight = 3 WHERE Item = 'Bow'",
         "Bow was changed by another program since; nothing was undone"},
    };
    // The cases run one after the other on the same file, each on rows of its own.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        {
            HistoryStep step(history, c.label);
            c.step(*this);
        }
        file.sql(c.otherProgram);
        const std::string changed = contents();
        EXPECT_EQ(errorOf([&] { history.undo(); }), c.message);
        EXPECT_EQ(contents(), changed);
        ASSERT_TRUE(history.canUndo());
        EXPECT_EQ(history.nextUndo()->name, c.label);
        EXPECT_FALSE(history.canRedo());
        if (!c.putBack) continue;
        file.sql(c.putBack);
        history.undo();
        EXPECT_TRUE(history.steps().back().undone);
        party.ADOTable1.reopen();
    }
}

TEST_F(PartyHistory, ARedoRefusedByAConflictWritesNothing)
{
    {
        HistoryStep step(history, "Damage 5 on Brynn");
        post("Brynn", "CurHP", Value(26));
    }
    history.undo();
    file.sql("UPDATE Table1 SET CurHP = 30 WHERE Name = 'Brynn'");
    const std::string changed = contents();
    EXPECT_EQ(errorOf([&] { history.redo(); }),
              "Brynn was changed by another program since; nothing was redone");
    EXPECT_EQ(contents(), changed);
    EXPECT_TRUE(history.canRedo());
    // A field the step did not change is no conflict.
    file.sql("UPDATE Table1 SET CurHP = 31, AC = 15 WHERE Name = 'Brynn'");
    history.redo();
    EXPECT_EQ(file.scalar("SELECT CurHP || '/' || AC FROM Table1 WHERE Name = 'Brynn'"), "26/15");
}

TEST_F(PartyHistory, StepsNestAndKeepTheOutermostName)
{
    {
        HistoryStep group(history, "Group Add MS");
        for (const char* name : {"Aldric", "Brynn"}) {
            HistoryStep personal(history, std::string("Add MS on ") + name);
            post(name, "Milestone", Value(1));
        }
        history.rename("Group Add Milestone");
    }
    ASSERT_EQ(history.steps().size(), 1u);
    EXPECT_EQ(history.steps().back().text, "Group Add Milestone: 2 characters");
}

// A new step after an undo takes the undone step's place: it can no longer be redone, and
// stays in the log as undone.
TEST_F(PartyHistory, ANewStepEndsTheRedoOfUndoneSteps)
{
    for (int hp : {20, 10}) {
        HistoryStep step(history, "Damage on Aldric " + std::to_string(hp));
        post("Aldric", "CurHP", Value(hp));
    }
    history.undo();
    party.ADOTable1.reopen();
    {
        HistoryStep step(history, "Heal on Brynn");
        post("Brynn", "TempHP", Value(4));
    }
    EXPECT_FALSE(history.canRedo());
    ASSERT_EQ(history.steps().size(), 3u);
    EXPECT_TRUE(history.steps()[1].undone);
    history.undo(); // the heal
    history.undo(); // the first damage, passing over the one undone before
    EXPECT_EQ(file.scalar("SELECT CurHP || '/' || (SELECT TempHP FROM Table1 WHERE ID = 2) "
                          "FROM Table1 WHERE ID = 1"),
              "30/0");
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.nextRedo()->name, "Damage on Aldric 20");
}

// A record posted while no step is open (a condition ticked, then another record chosen) is
// a step of its own once the history settles, named by the window's rule.
TEST_F(PartyHistory, LooseChangesBecomeAStepWhenSettled)
{
    history.setLooseStepNamer(
        [](const store::Step& s) { return "Conditions on " + s.rows.front().label; });
    post("Brynn", "Dazed", Value(true));
    EXPECT_TRUE(history.steps().empty());
    history.settle();
    ASSERT_EQ(history.steps().size(), 1u);
    EXPECT_EQ(history.steps().back().text, "Conditions on Brynn: Dazed no → yes");
    // Undo settles first, so a change not yet settled is what it undoes.
    post("Aldric", "Slowed", Value(true));
    history.undo();
    EXPECT_EQ(file.scalar("SELECT Slowed || Dazed FROM Table1 WHERE ID IN (1, 2) ORDER BY ID "
                          "LIMIT 1"),
              "00");
    EXPECT_EQ(file.scalar("SELECT Dazed FROM Table1 WHERE ID = 2"), "1");
}

// Past its budget the history forgets what the oldest steps changed; their lines stay.
TEST_F(PartyHistory, MemoryStaysWithinTheBudget)
{
    for (int hp = 1; hp <= 50; ++hp) {
        HistoryStep step(history, "Damage on Aldric");
        post("Aldric", "CurHP", Value(hp));
    }
    const std::size_t perStep = history.bytes() / 50;
    history.setBudget(perStep * 10);
    EXPECT_LE(history.bytes(), perStep * 10);
    EXPECT_EQ(history.steps().size(), 50u);
    EXPECT_TRUE(history.steps().front().forgotten);
    EXPECT_EQ(history.steps().front().text, "Damage on Aldric: HP 30 → 1");
    int undone = 0;
    while (history.canUndo()) {
        history.undo();
        ++undone;
    }
    EXPECT_GE(undone, 5);
    EXPECT_LT(undone, 50);
    EXPECT_EQ(file.scalar("SELECT CurHP FROM Table1 WHERE ID = 1"), std::to_string(50 - undone));
}

TEST_F(PartyHistory, ListenersHearEveryStepUndoAndRedo)
{
    int heard = 0;
    const int id = history.subscribe([&] { ++heard; });
    {
        HistoryStep step(history, "Damage on Aldric");
        post("Aldric", "CurHP", Value(3));
    }
    history.undo();
    history.redo();
    EXPECT_EQ(heard, 3);
    history.unsubscribe(id);
    history.undo();
    EXPECT_EQ(heard, 3);
}

} // namespace
