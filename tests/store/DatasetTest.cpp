#include "store/Dataset.h"

#include "store/Error.h"
#include "store/PartyStore.h"
#include "store/Statement.h"
#include "tests/support/PartyFixture.h"

#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

using store::DatasetState;
using store::Value;
using testing_support::PartyFile;

using testing_support::errorOf;

// A party file with a few characters, and the store opened on it.
class PartyDatasets : public ::testing::Test {
protected:
    void SetUp() override
    {
        file.sql("INSERT INTO Table1 (Name, TotalHP, CurHP, Initiative, PC, cp, gp) VALUES "
                 "('Aldric', 40, 30, 3, 1, 10, 5), ('Brynn', 31, 31, 7.5, 1, 4, 0), "
                 "('Cael', 27, 9, 5, 1, 0, 2);"
                 "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Sword', 4), "
                 "('Aldric', 'Shield', 6), ('Cael', 'Staff', 4);");
        file.open(party);
    }
    std::string roster(const char* field)
    {
        return party.ADOTable1.fieldByName(field).displayText();
    }
    std::vector<std::string> items()
    {
        std::vector<std::string> out;
        auto& inv = party.ADOTable3;
        for (int i = 0; i < inv.displayCount(); ++i)
            out.push_back(inv.withRecord(i, [&] { return inv.fieldByName("Item").displayText(); }));
        return out;
    }
    void moveToName(const std::string& name)
    {
        auto& r = party.ADOTable1;
        r.first();
        for (int i = 0; i < r.recordCount() && roster("Name") != name; ++i)
            r.next();
        ASSERT_EQ(roster("Name"), name);
    }

    PartyFile file;
    store::PartyStore party;
};

TEST_F(PartyDatasets, OpensWithDeclaredFieldsAndTheFirstRecordCurrent)
{
    auto& r = party.ADOTable1;
    EXPECT_EQ(r.state(), DatasetState::Browse);
    EXPECT_EQ(r.recordCount(), 3);
    EXPECT_EQ(r.recNo(), 0);
    EXPECT_EQ(roster("Name"), "Aldric");
    ASSERT_EQ(r.fieldCount(), 45);
    const char* order[] = {"Name", "HP",  "TotalHP", "CurHP", "TempHP",  "Initiative",
                           "AC",   "Ref", "Fort",    "Will",  "APoints", "Blinded"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(r.fieldDef(i).name, order[i]);
    EXPECT_EQ(r.fieldDef(44).name, "UsedSecondWind");
    // The details follow the first character.
    EXPECT_EQ(items(), (std::vector<std::string>{"Sword", "Shield"}));
    EXPECT_EQ(party.ADOTable4.fieldByName("SumWeight").displayText(), "10");
    EXPECT_EQ(party.ADOTable2.fieldByName("Sum-cp").displayText(), "14");
    // Every column of Inventory, in column order, for the dataset without declared fields.
    ASSERT_EQ(party.ADOTable3.fieldCount(), 4);
    EXPECT_EQ(party.ADOTable3.fieldDef(1).size,
              255); // the column's length, for the edits bound to it
    // A row the dataset does not have shows nothing, not the current record.
    EXPECT_TRUE(r.withRecord(99, [&] { return r.fieldByName("Name").value(); }).isNull());
    EXPECT_EQ(party.ADOTable3.fieldDef(0).name, "Name");
    EXPECT_EQ(party.ADOTable3.fieldDef(1).name, "Item");
    EXPECT_EQ(party.ADOTable3.fieldDef(2).name, "Weight");
}

TEST_F(PartyDatasets, FailureTable)
{
    auto& r = party.ADOTable1;
    const struct {
        const char* what;
        std::function<void()> action;
        const char* message;
    } browsing[] = {
        {"unknown field", [&] { r.fieldByName("Mana"); }, "ADOTable1: Field 'Mana' not found"},
        {"write in browse", [&] { r.fieldByName("CurHP").setAsInteger(1); },
         "ADOTable1: Dataset not in edit or insert mode"},
        {"post in browse", [&] { r.post(); }, "ADOTable1: Dataset not in edit or insert mode"},
        {"sort by unknown", [&] { r.setSort("Mana DESC"); }, "ADOTable1: Field 'Mana' not found"},
        {"write ID",
         [&] {
             r.edit();
             r.fieldByName("ID").setAsInteger(99);
         },
         "Field 'ID' cannot be modified"},
        {"write derived", [&] { r.fieldByName("HP").setAsString("x"); },
         "Field 'HP' cannot be modified"},
    };
    for (const auto& c : browsing) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorOf(c.action), c.message);
    }
    r.cancel();
    r.close();
    const struct {
        const char* what;
        std::function<void()> action;
    } closed[] = {
        {"edit", [&] { r.edit(); }},
        {"first", [&] { r.first(); }},
        {"next", [&] { r.next(); }},
        {"record count", [&] { (void)r.recordCount(); }},
        {"delete", [&] { r.deleteRecord(); }},
        {"sort", [&] { r.setSort("Initiative DESC"); }},
        {"append", [&] { r.appendValues({Value("x")}); }},
    };
    for (const auto& c : closed) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorOf(c.action),
                  "ADOTable1: Cannot perform this operation on a closed dataset");
        EXPECT_FALSE(r.active());
    }
    EXPECT_EQ(errorOf([&] { r.post(); }), "ADOTable1: Dataset not in edit or insert mode");
    EXPECT_EQ(errorOf([&] { r.fieldByName("CurHP").setAsInteger(1); }),
              "ADOTable1: Dataset not in edit or insert mode");
    // A closed dataset's fields read as nothing.
    EXPECT_EQ(r.fieldByName("CurHP").asInteger(), 0);
    EXPECT_TRUE(r.fieldByName("Name").value().isNull());
}

TEST_F(PartyDatasets, PostWritesOnlyTheWrittenFieldsAndReadsTheRecordBack)
{
    auto& r = party.ADOTable1;
    r.edit();
    EXPECT_EQ(r.state(), DatasetState::Edit);
    r.fieldByName("CurHP").setAsInteger(12);
    EXPECT_EQ(roster("HP"), "12(40) +0"); // derived fields follow each write
    // Another program changes a field this edit did not write.
    file.sql("UPDATE Table1 SET AC = 19 WHERE Name = 'Aldric'");
    r.post();
    EXPECT_EQ(r.state(), DatasetState::Browse);
    EXPECT_EQ(file.rows("SELECT CurHP, AC FROM Table1 WHERE Name = 'Aldric'"),
              (std::vector<std::vector<std::string>>{{"12", "19"}}));
    EXPECT_EQ(roster("AC"), "19"); // read back after the post
}

TEST_F(PartyDatasets, ARowChangedByAnotherProgramIsReportedNeverOverwritten)
{
    auto& r = party.ADOTable1;
    r.edit();
    r.fieldByName("CurHP").setAsInteger(5);
    file.sql("UPDATE Table1 SET CurHP = 1 WHERE Name = 'Aldric'");
    const std::string message = errorOf([&] { r.post(); });
    EXPECT_EQ(message,
              "ADOTable1: The record was changed or deleted by another program since it was read, "
              "so this change was not saved; press F5 (Reload) or Esc in the roster to drop it "
              "and read the record again");
    EXPECT_EQ(r.state(), DatasetState::Edit);
    EXPECT_EQ(r.fieldByName("CurHP").asInteger(), 5);
    EXPECT_EQ(file.scalar("SELECT CurHP FROM Table1 WHERE Name = 'Aldric'"), "1");
    // A move tries the same post again and stays on the record when it fails again.
    EXPECT_EQ(errorOf([&] { r.next(); }), message);
    EXPECT_EQ(r.recNo(), 0);
    r.reopen();
    EXPECT_EQ(roster("CurHP"), "1");

    // Deleted by the other program: the post is refused too.
    r.edit();
    r.fieldByName("TempHP").setAsInteger(3);
    file.sql("DELETE FROM Table1 WHERE Name = 'Aldric'");
    EXPECT_EQ(errorOf([&] { r.post(); }), message);
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "2");
}

TEST_F(PartyDatasets, StateTransitions)
{
    auto& r = party.ADOTable1;
    // edit, then a move with nothing written: nothing written, browse.
    r.edit();
    r.next();
    EXPECT_EQ(r.state(), DatasetState::Browse);
    EXPECT_EQ(roster("Name"), "Brynn");
    // edit, write, move: the record is posted first.
    r.edit();
    r.fieldByName("Prone").setAsBoolean(true);
    r.first();
    EXPECT_EQ(file.scalar("SELECT Prone FROM Table1 WHERE Name = 'Brynn'"), "1");
    // edit, write, close: dropped.
    r.edit();
    r.fieldByName("CurHP").setAsInteger(-10);
    r.close();
    EXPECT_EQ(file.scalar("SELECT CurHP FROM Table1 WHERE Name = 'Aldric'"), "30");
    r.open();
    // edit, then delete: the record goes, the one after it is current.
    r.edit();
    r.fieldByName("CurHP").setAsInteger(-10);
    r.deleteRecord();
    EXPECT_EQ(r.state(), DatasetState::Browse);
    EXPECT_EQ(roster("Name"), "Brynn");
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1 WHERE Name = 'Aldric'"), "0");
    // Deleting the last record makes the new last current.
    r.last();
    r.deleteRecord();
    EXPECT_EQ(roster("Name"), "Brynn");
    r.deleteRecord();
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(errorOf([&] { r.deleteRecord(); }),
              "ADOTable1: Cannot perform this operation on an empty dataset");
}

TEST_F(PartyDatasets, EditOnAnEmptyRosterStartsARecordWithTheDatabasesDefaults)
{
    file.sql("DELETE FROM Table1");
    auto& r = party.ADOTable1;
    r.reopen();
    ASSERT_TRUE(r.isEmpty());
    r.edit();
    EXPECT_EQ(r.state(), DatasetState::Insert);
    EXPECT_EQ(r.displayCount(), 1);
    // Insert, then delete: nothing written.
    r.deleteRecord();
    EXPECT_EQ(r.state(), DatasetState::Browse);
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "0");
    // Insert with a field written, then post: a record holding that field and the defaults.
    r.edit();
    r.fieldByName("HealingSurgesUsed").setAsInteger(1);
    r.post();
    EXPECT_EQ(file.rows("SELECT Name, HealingSurgesUsed, CurHP, Dying FROM Table1"),
              (std::vector<std::vector<std::string>>{{"NULL", "1", "0", "0"}}));
    EXPECT_EQ(r.recordCount(), 1);
    EXPECT_EQ(roster("HP"), "0(0) +0");
    EXPECT_GT(r.fieldByName("ID").asInteger(), 0);
}

TEST_F(PartyDatasets, ARejectedPostKeepsTheEditAndAFailedMoveDoesNotMove)
{
    auto& r = party.ADOTable1;
    r.edit();
    r.fieldByName("Name").setAsString(std::string(256, 'x')); // the engine holds names to 255
    const std::string message = errorOf([&] { r.post(); });
    EXPECT_EQ(message, "Name is longer than 255 characters, so the change was not saved");
    EXPECT_EQ(r.state(), DatasetState::Edit);
    EXPECT_EQ(r.fieldByName("Name").asString().size(), 256u);
    EXPECT_EQ(errorOf([&] { r.moveTo(2); }), message);
    EXPECT_EQ(r.recNo(), 0);
    // Mended, the same post goes through.
    r.fieldByName("Name").setAsString(std::string(255, 'y'));
    r.moveTo(2);
    EXPECT_EQ(file.scalar("SELECT length(Name) FROM Table1 WHERE ID = 1"), "255");
    EXPECT_EQ(roster("Name"), "Cael");
}

TEST_F(PartyDatasets, DetailsFollowTheRostersName)
{
    auto& r = party.ADOTable1;
    auto& inv = party.ADOTable3;
    r.next(); // Brynn has nothing
    EXPECT_TRUE(inv.isEmpty());
    EXPECT_TRUE(party.ADOTable4.isEmpty());
    r.next(); // Cael
    EXPECT_EQ(items(), (std::vector<std::string>{"Staff"}));
    // Renaming the current character loses sight of its items at once.
    r.edit();
    r.fieldByName("Name").setAsString("Aldric");
    EXPECT_EQ(items(), (std::vector<std::string>{"Sword", "Shield"}));
    r.fieldByName("Name").clear(); // a record without a name sees no items
    EXPECT_TRUE(inv.isEmpty());
    r.cancel();
    EXPECT_EQ(items(), (std::vector<std::string>{"Staff"}));
}

TEST_F(PartyDatasets, MovingBetweenTwoRecordsOfOneNameReadsNothingAgain)
{
    file.sql("UPDATE Table1 SET Name = 'Aldric' WHERE Name = 'Brynn'");
    auto& r = party.ADOTable1;
    r.reopen();
    auto& inv = party.ADOTable3;
    inv.next();
    ASSERT_EQ(inv.recNo(), 1);
    r.next(); // the second Aldric
    EXPECT_EQ(inv.recNo(), 1) << "the detail kept its rows and its place";
    EXPECT_EQ(items(), (std::vector<std::string>{"Sword", "Shield"}));
    r.next(); // Cael: a new restriction starts at its first row
    EXPECT_EQ(inv.recNo(), 0);
}

TEST_F(PartyDatasets, DatasetsAreSnapshotsUntilReopened)
{
    file.sql("UPDATE Table1 SET cp = 100 WHERE Name = 'Brynn'; INSERT INTO Inventory (Name, Item, "
             "Weight) VALUES ('Aldric', 'Rope', 2)");
    EXPECT_EQ(party.ADOTable2.fieldByName("Sum-cp").displayText(), "14");
    EXPECT_EQ(items().size(), 2u);
    party.ADOTable2.reopen();
    party.ADOTable3.reopen();
    EXPECT_EQ(party.ADOTable2.fieldByName("Sum-cp").displayText(), "110");
    EXPECT_EQ(items().size(), 3u);
}

TEST_F(PartyDatasets, SortOrderHoldsUntilReopen)
{
    auto& r = party.ADOTable1;
    r.next(); // Brynn stays current through the sort
    r.setSort("Initiative DESC");
    EXPECT_EQ(roster("Name"), "Brynn");
    std::vector<std::string> names;
    for (int i = 0; i < r.recordCount(); ++i)
        names.push_back(r.withRecord(i, [&] { return roster("Name"); }));
    EXPECT_EQ(names, (std::vector<std::string>{"Brynn", "Cael", "Aldric"}));
    EXPECT_EQ(roster("Initiative"), "7.5");
    r.reopen();
    EXPECT_EQ(roster("Name"), "Aldric");
    r.last();
    EXPECT_EQ(roster("Name"), "Cael");
}

TEST_F(PartyDatasets, AppendValuesGivesADetailItsMastersName)
{
    auto& inv = party.ADOTable3;
    inv.appendValues({Value("Aldric"), Value(""), Value(0)});
    EXPECT_EQ(inv.state(), DatasetState::Browse);
    EXPECT_EQ(inv.recNo(), 2);
    EXPECT_EQ(
        file.scalar(
            "SELECT count(*) FROM Inventory WHERE Name = 'Aldric' AND Item = '' AND Weight = 0"),
        "1");
    // The dialog then edits the appended record and posts what was typed.
    inv.edit();
    inv.fieldByName("Item").setAsString("Lantern");
    inv.fieldByName("Weight").setAsString("2");
    inv.post();
    EXPECT_EQ(file.scalar("SELECT Weight FROM Inventory WHERE Item = 'Lantern'"), "2");
    // On an empty detail, edit starts a record with the master's name.
    party.ADOTable1.next();
    inv.edit();
    EXPECT_EQ(inv.state(), DatasetState::Insert);
    inv.fieldByName("Item").setAsString("Dagger");
    inv.post();
    EXPECT_EQ(file.scalar("SELECT Name FROM Inventory WHERE Item = 'Dagger'"), "Brynn");
}

TEST_F(PartyDatasets, TextsAndExtremeNumbersAreStoredAsTyped)
{
    const std::string names[] = {
        "O'Brien \"the Bold\"",
        "Robert'); DROP TABLE Table1;--",
        "a;b;c",
        "Ærwyn Þórsdóttir",
        "鈴木",
        std::string(255, 'z'),
        " spaced ",
        "",
    };
    auto& r = party.ADOTable1;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        r.edit();
        r.fieldByName("Name").setAsString(name);
        r.fieldByName("CurHP").setAsInteger(std::numeric_limits<int>::min());
        r.fieldByName("TotalHP").setAsInteger(std::numeric_limits<int>::max());
        r.post();
        EXPECT_EQ(file.rows("SELECT Name, CurHP, TotalHP FROM Table1 WHERE ID = 1"),
                  (std::vector<std::vector<std::string>>{{name, "-2147483648", "2147483647"}}));
        EXPECT_EQ(roster("Name"), name);
    }
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "3");
}

struct SchemaCase {
    const char* what;
    const char* change; // SQL applied to a good party file before it is opened
    const char* message;
    int opened; // how many of the four datasets opened before the failure
};

const SchemaCase schemaCases[] = {
    {"no roster table", "DROP VIEW SumMoney; DROP TABLE Table1", "no such table: Table1", 0},
    {"roster lacks a column", "ALTER TABLE Table1 DROP COLUMN UsedDailyItem",
     "ADOTable1: Field 'UsedDailyItem' not found", 0},
    {"a column of the wrong type",
     "DROP VIEW SumMoney; ALTER TABLE Table1 RENAME TO Old; CREATE TABLE Table1 AS SELECT * FROM "
     "Old; "
     "ALTER TABLE Table1 DROP COLUMN CurHP; ALTER TABLE Table1 ADD COLUMN CurHP TEXT",
     "ADOTable1: Type mismatch for field 'CurHP', expecting: Integer actual: WideString", 0},
    {"no money query", "DROP VIEW SumMoney", "no such table: SumMoney", 1},
    {"money query lacks a total",
     "DROP VIEW SumMoney; CREATE VIEW SumMoney AS SELECT total(cp) AS \"Sum-cp\" FROM Table1",
     "ADOTable2: Field 'Sum-sp' not found", 1},
    {"no inventory", "DROP VIEW Weight; DROP TABLE Inventory", "no such table: Inventory", 2},
    {"no weight query", "DROP VIEW Weight", "no such table: Weight", 3},
    {"weight names of the wrong type",
     "DROP VIEW Weight; CREATE VIEW Weight AS SELECT total(Weight) AS SumWeight, ID AS Name FROM "
     "Inventory",
     "ADOTable4: Type mismatch for field 'Name', expecting: WideString actual: Integer", 3},
};

TEST(PartySchema, EachMissingPieceStopsTheOpeningWhereItIsNeeded)
{
    for (const SchemaCase& c : schemaCases) {
        SCOPED_TRACE(c.what);
        PartyFile file;
        file.sql(c.change);
        const std::string before = file.bytes();
        store::PartyStore party;
        party.ADOConnection1.setConnectionString(file.connectionString());
        party.ADOConnection1.setConnected(true);
        EXPECT_EQ(errorOf([&] { party.openAll(); }), c.message);
        const bool open[] = {party.ADOTable1.active(), party.ADOTable2.active(),
                             party.ADOTable3.active(), party.ADOTable4.active()};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(open[i], i < c.opened) << "dataset " << i + 1;
        party.ADOConnection1.setConnected(false);
        EXPECT_EQ(file.bytes(), before);
    }
}

} // namespace
