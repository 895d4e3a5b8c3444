#include "store/Statement.h"

#include "store/Error.h"
#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <gtest/gtest.h>

namespace {

using store::Value;
using testing_support::PartyFile;

// The two-line insert the character dialog runs.
const char* const insertText =
    "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
    "                     VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, "
    ":PC );";

TEST(Statement, FindsTheNamedParametersInTextOrder)
{
    EXPECT_EQ(store::parameterNames(insertText),
              (std::vector<std::string>{"Name", "TotalHP", "CurHP", "Initiative", "AC", "Ref",
                                        "Fort", "Will", "PC"}));
    EXPECT_EQ(
        store::parameterNames("UPDATE T SET a = ':notme', b = :b -- :comment\nWHERE (T.ID=:ID);"),
        (std::vector<std::string>{"b", "ID"}));
}

TEST(Statement, RunsPreparedOnceWithNewValuesEachTime)
{
    PartyFile file;
    store::PartyStore party;
    file.open(party);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(insertText);
    insert.setPrepared(true);
    for (int n = 1; n <= 3; ++n) {
        insert.paramByName("Name").setValue("Goblin." + std::to_string(n));
        for (const char* p : {"TotalHP", "CurHP"})
            insert.paramByName(p).setValue(Value(20 + n));
        for (const char* p : {"Initiative", "AC", "Ref", "Fort", "Will"})
            insert.paramByName(p).setValue(Value(n));
        insert.paramByName("PC").setValue(false);
        insert.execute();
    }
    EXPECT_EQ(
        file.rows(
            "SELECT Name, TotalHP, CurHP, Initiative, PC, TempHP, Dying FROM Table1 ORDER BY ID"),
        (std::vector<std::vector<std::string>>{{"Goblin.1", "21", "21", "1", "0", "0", "0"},
                                               {"Goblin.2", "22", "22", "2", "0", "0", "0"},
                                               {"Goblin.3", "23", "23", "3", "0", "0", "0"}}));
    // No dataset sees the change until it is reopened.
    EXPECT_TRUE(party.ADOTable1.isEmpty());
    party.ADOTable1.reopen();
    EXPECT_EQ(party.ADOTable1.recordCount(), 3);
}

TEST(Statement, ValuesAreBoundNeverSpliced)
{
    PartyFile file;
    store::PartyStore party;
    file.open(party);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(insertText);
    const std::string name = "x', 0, 0, 0, 0, 0, 0, 0, 1); DELETE FROM Table1; --";
    insert.paramByName("name").setValue(name); // names are found whatever their case
    insert.execute();
    EXPECT_EQ(file.rows("SELECT Name, TotalHP FROM Table1"),
              (std::vector<std::vector<std::string>>{{name, "NULL"}}));
}

TEST(Statement, AParameterWrittenInTwoCasesIsBoundEverywhere)
{
    PartyFile file;
    store::PartyStore party;
    file.open(party);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql("INSERT INTO Table1 (Name, TotalHP, CurHP) VALUES (:Name, :HP, :hp)");
    insert.paramByName("Name").setValue("Aldric");
    insert.paramByName("HP").setValue(Value(30));
    insert.execute();
    EXPECT_EQ(file.rows("SELECT TotalHP, CurHP FROM Table1"),
              (std::vector<std::vector<std::string>>{{"30", "30"}}));
}

// The character dialog's update names its table before every assigned column.
TEST(Statement, RunsAnUpdateWithQualifiedColumns)
{
    PartyFile file;
    file.sql("INSERT INTO Table1 (Name, TotalHP) VALUES ('Kara', 20), ('Other', 5)");
    store::PartyStore party;
    file.open(party);
    store::Statement update(party.ADOConnection1, "ADOQuery2");
    update.setSql(
        "UPDATE Table1 SET Table1.Name = :Name, Table1.TotalHP = :TotalHP, Table1.CurHP = :CurHP\n"
        "WHERE (Table1.ID=:ID);");
    update.paramByName("Name").setValue("Table1.Name = 'x'");
    update.paramByName("TotalHP").setValue(Value(31));
    update.paramByName("CurHP").setValue(Value(31));
    update.paramByName("ID").setValue(Value(1));
    update.execute();
    EXPECT_EQ(file.rows("SELECT Name, TotalHP, CurHP FROM Table1 ORDER BY ID"),
              (std::vector<std::vector<std::string>>{{"Table1.Name = 'x'", "31", "31"},
                                                     {"Other", "5", "0"}}));
    EXPECT_EQ(
        store::engineText(
            "UPDATE Table1 SET Table1.Name = :Name, Table1.Will = :Will\nWHERE (Table1.ID=:ID);"),
        "UPDATE Table1 SET Name = :Name, Will = :Will\nWHERE (Table1.ID=:ID);");
    EXPECT_EQ(store::engineText("INSERT INTO Table1 ( Name ) VALUES (:Name );"),
              "INSERT INTO Table1 ( Name ) VALUES (:Name );");
}

// A declared parameter converts what it is given to its type; the column converts once more.
TEST(Statement, DeclaredParametersConvertTheirValuesAndExecuteCountsTheRows)
{
    PartyFile file;
    store::PartyStore party;
    file.open(party);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(
        "INSERT INTO Table1 (Name, TotalHP, CurHP, PC) VALUES (:Name, :TotalHP, :CurHP, :PC)");
    insert.paramByName("Name").declare(store::ValueType::String);
    insert.paramByName("TotalHP").declare(store::ValueType::String);
    insert.paramByName("CurHP").declare(store::ValueType::Integer);
    insert.paramByName("PC").declare(store::ValueType::Boolean);

    insert.paramByName("Name").setValue(Value(12));
    insert.paramByName("TotalHP").setValue(Value(-40));
    EXPECT_EQ(insert.paramByName("TotalHP").value(), Value("-40"));
    insert.paramByName("CurHP").setValue(Value(" +$1F"));
    EXPECT_EQ(insert.paramByName("CurHP").value(), Value(31));
    insert.paramByName("PC").setValue(Value(1));
    EXPECT_EQ(insert.paramByName("PC").value(), Value(true));
    EXPECT_EQ(insert.execute(), 1);

    insert.paramByName("CurHP").setValue(Value());
    EXPECT_TRUE(insert.paramByName("CurHP").value().isNull());
    EXPECT_EQ(insert.execute(), 1);
    EXPECT_EQ(
        file.rows("SELECT typeof(Name), Name, typeof(TotalHP), TotalHP, quote(CurHP), PC "
                  "FROM Table1 ORDER BY ID"),
        (std::vector<std::vector<std::string>>{{"text", "12", "integer", "-40", "31", "1"},
                                               {"text", "12", "integer", "-40", "NULL", "1"}}));

    try {
        insert.paramByName("CurHP").setValue(Value("12a"));
        ADD_FAILURE();
    }
    catch (const store::Error& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }

    store::Statement update(party.ADOConnection1, "ADOQuery2");
    update.setSql("UPDATE Table1 SET Table1.TotalHP = :TotalHP\nWHERE (Table1.ID=:ID);");
    update.paramByName("TotalHP").setValue(Value(5));
    update.paramByName("ID").setValue(Value(2));
    EXPECT_EQ(update.execute(), 1);
    EXPECT_EQ(update.execute(), 1); // the same values again still count the row
    update.paramByName("ID").setValue(Value(99));
    EXPECT_EQ(update.execute(), 0);
}

TEST(Statement, ErrorsLeaveNothingChanged)
{
    PartyFile file;
    store::PartyStore party;
    file.open(party);
    store::Statement update(party.ADOConnection1, "ADOQuery2");
    update.setSql("UPDATE Table1 SET Table1.Name = :Name\nWHERE (Table1.ID=:ID);");
    try {
        update.paramByName("Mana");
        ADD_FAILURE();
    }
    catch (const store::Error& e) {
        EXPECT_STREQ(e.what(), "Parameter 'Mana' not found");
    }
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(insertText);
    insert.paramByName("Name").setValue(std::string(256, 'n'));
    EXPECT_THROW(insert.execute(), store::Error);
    insert.paramByName("Name").setValue(std::string(255, 'n'));
    insert.execute();
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "1");
}

} // namespace
