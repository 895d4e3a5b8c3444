// What other programs leave in the party file: values that do not fit their fields, a row
// number used again for another record, a view or trigger that never finishes. The store
// shows what is stored, never overwrites or deletes another program's record by mistake, and
// never hangs.
#include "store/EngineMessage.h"
#include "store/PartyStore.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PartyFixture.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

using testing_support::errorOf;
using testing_support::PartyFile;

TEST(StoredValues, AValueThatDoesNotFitItsFieldIsShownAsStoredAndNeverBlamedOnAnotherProgram)
{
    struct Case {
        const char* field;
        const char* stored; // SQL literal another program wrote
        const char* shown;
        const char* asInteger; // the error of reading it as an integer, "" when it reads
    };
    const Case cases[] = {
        {"CurHP", "4294967303", "4294967303",
         "ADOTable1: Field 'CurHP' holds 4294967303, which is not a valid integer value"},
        {"AC", "3.7", "3.7", "ADOTable1: Field 'AC' holds 3.7, which is not a valid integer value"},
        {"Will", "'abc'", "abc",
         "ADOTable1: Field 'Will' holds abc, which is not a valid integer value"},
        {"Fort", "X'01FF'", "X'01FF'",
         "ADOTable1: Field 'Fort' holds X'01FF', which is not a valid integer value"},
        {"Dying", "-1", "True", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field + std::string(" = ") + c.stored);
        PartyFile file;
        file.sql("INSERT INTO Table1 (Name, TotalHP, CurHP, PC) VALUES ('Aldric', 40, 30, 1)");
        file.sql(std::string("UPDATE Table1 SET ") + c.field + " = " + c.stored);
        const std::string before =
            file.scalar(std::string("SELECT quote(") + c.field + ") FROM Table1");
        store::PartyStore party;
        file.open(party);
        store::Dataset& roster = party.ADOTable1;
        EXPECT_EQ(roster.fieldByName(c.field).displayText(), c.shown);
        if (*c.asInteger) {
            EXPECT_EQ(errorOf([&] { roster.fieldByName(c.field).asInteger(); }), c.asInteger);
        }
        // The other fields of the record can still be saved: the check compares what is stored.
        roster.edit();
        roster.fieldByName("APoints").setAsInteger(2);
        EXPECT_EQ(errorOf([&] { roster.post(); }), "no error");
        EXPECT_EQ(file.scalar("SELECT APoints FROM Table1"), "2");
        EXPECT_EQ(file.scalar(std::string("SELECT quote(") + c.field + ") FROM Table1"), before);
        EXPECT_EQ(roster.fieldByName(c.field).displayText(), c.shown);
        // A field written over it is checked against what is stored, too.
        roster.edit();
        roster.fieldByName(c.field).setAsInteger(1);
        EXPECT_EQ(errorOf([&] { roster.post(); }), "no error");
        EXPECT_EQ(file.scalar(std::string("SELECT ") + c.field + " FROM Table1"), "1");
        // And the record deletes.
        EXPECT_EQ(errorOf([&] { roster.deleteRecord(); }), "no error");
        EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "0");
    }
}

TEST(StoredValues, ADeleteTakesTheRowOnlyWhileItHoldsWhatWasRead)
{
    PartyFile file;
    file.sql("INSERT INTO Table1 (Name, PC) VALUES ('Aldric', 1);"
             "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Rope', 5), "
             "('Aldric', 'Lantern', 2)");
    store::PartyStore party;
    file.open(party);
    store::Dataset& items = party.ADOTable3;
    items.last();
    ASSERT_EQ(items.fieldByName("Item").asString(), "Lantern");
    // Another program deletes the lantern and adds a new item under the same row number.
    file.sql("DELETE FROM Inventory WHERE Item = 'Lantern';"
             "INSERT INTO Inventory (Name, Item, Weight, ID) VALUES ('Aldric', 'Potion', 1, 2)");
    ASSERT_EQ(file.scalar("SELECT rowid FROM Inventory WHERE Item = 'Potion'"), "2");
    EXPECT_EQ(errorOf([&] { items.deleteRecord(); }),
              "ADOTable3: The record was changed or deleted by another program since it was "
              "read, so this change was not saved; press F5 (Reload) or Esc in the roster to "
              "drop it and read the record again");
    EXPECT_EQ(file.scalar("SELECT group_concat(Item) FROM Inventory"), "Rope,Potion");
    // A row another program changed is not deleted either; one it deleted is gone all the same.
    items.first();
    file.sql("UPDATE Inventory SET Weight = 6 WHERE Item = 'Rope'");
    EXPECT_NE(errorOf([&] { items.deleteRecord(); }), "no error");
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Inventory"), "2");
    items.reopen();
    file.sql("DELETE FROM Inventory WHERE Item = 'Rope'");
    EXPECT_EQ(errorOf([&] { items.deleteRecord(); }), "no error");
    EXPECT_EQ(items.fieldByName("Item").asString(), "Potion");
    EXPECT_EQ(file.scalar("SELECT group_concat(Item) FROM Inventory"), "Potion");
}

TEST(TimeLimit, AViewOrTriggerThatNeverFinishesFailsWithAClearMessageAndTheProgramGoesOn)
{
    const std::string endless =
        "(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT max(x) FROM c)";
    const std::string stopped = "The party file took too long to answer (a view or trigger in it "
                                "does not finish), so the work was stopped and nothing of it was "
                                "saved";
    PartyFile file;
    file.sql("INSERT INTO Table1 (Name, CurHP, PC) VALUES ('Aldric', 30, 1);"
             "CREATE TRIGGER endless AFTER UPDATE ON Table1 BEGIN SELECT " +
             endless + "; END;");
    store::PartyStore party;
    file.open(party);
    party.ADOConnection1.setTimeLimit(std::chrono::milliseconds(200));
    store::Dataset& roster = party.ADOTable1;
    roster.edit();
    roster.fieldByName("CurHP").setAsInteger(25);
    EXPECT_EQ(errorOf([&] { roster.post(); }), stopped);
    EXPECT_EQ(roster.state(), store::DatasetState::Edit); // the change is kept
    EXPECT_EQ(file.scalar("SELECT CurHP FROM Table1"), "30");
    // With the trigger gone the same change is saved.
    file.sql("DROP TRIGGER endless");
    EXPECT_EQ(errorOf([&] { roster.post(); }), "no error");
    EXPECT_EQ(file.scalar("SELECT CurHP FROM Table1"), "25");

    // A saved query that never finishes cannot be opened, and the others are unharmed.
    file.sql("DROP VIEW SumMoney; CREATE VIEW SumMoney AS SELECT " + endless +
             " AS \"Sum-cp\", 0 AS \"Sum-sp\", 0 AS \"Sum-gp\", 0 AS \"Sum-pp\", 0 AS \"Sum-ad\"");
    EXPECT_EQ(errorOf([&] { party.ADOTable2.reopen(); }), stopped);
    EXPECT_FALSE(party.ADOTable2.active());
    EXPECT_EQ(errorOf([&] { roster.reopen(); }), "no error");
}

TEST(EngineMessages, SayWhatTheMasterCanDo)
{
    const std::string path = "/games/Mirel.mdb";
    struct Case {
        int code, systemError;
        const char* engine;
        std::string expected;
    };
    const Case cases[] = {
        {SQLITE_FULL, 0, "database or disk is full",
         "The disk holding '/games/Mirel.mdb' is full, so the change was not saved; free some "
         "space and try again"},
        {SQLITE_IOERR_WRITE, ENOSPC, "disk I/O error",
         "The disk holding '/games/Mirel.mdb' is full, so the change was not saved; free some "
         "space and try again"},
        {SQLITE_IOERR_FSYNC, EIO, "disk I/O error",
         "The disk could not write '/games/Mirel.mdb' (disk I/O error), so the change was not "
         "saved"},
        {SQLITE_READONLY, 0, "attempt to write a readonly database",
         "'/games/Mirel.mdb' is read-only, or lies in a folder that cannot be written, so the "
         "change was not saved"},
        {SQLITE_BUSY, 0, "database is locked",
         "Another program is using the party file, so the change could not be saved yet; it is "
         "kept and will be tried again with the next save"},
        {SQLITE_CONSTRAINT_CHECK, 0, "CHECK constraint failed: Name IS NULL OR length(Name) <= 255",
         "Name is longer than 255 characters, so the change was not saved"},
        {SQLITE_CONSTRAINT_NOTNULL, 0, "NOT NULL constraint failed: Table1.Name",
         "NOT NULL constraint failed: Table1.Name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.engine);
        EXPECT_EQ(store::engineMessage(c.code, c.systemError, c.engine, path), c.expected);
    }
}

TEST(EngineMessages, ANameTooLongIsRefusedInWordsThroughTheDataset)
{
    PartyFile file;
    file.sql("INSERT INTO Table1 (Name, PC) VALUES ('Aldric', 1)");
    store::PartyStore party;
    file.open(party);
    party.ADOTable1.edit();
    party.ADOTable1.fieldByName("Name").setAsString(std::string(256, 'x'));
    EXPECT_EQ(errorOf([&] { party.ADOTable1.post(); }),
              "Name is longer than 255 characters, so the change was not saved");
    EXPECT_EQ(file.scalar("SELECT Name FROM Table1"), "Aldric");
}

} // namespace
