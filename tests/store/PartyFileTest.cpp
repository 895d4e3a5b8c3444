#include "store/PartySchema.h"

#include "store/Error.h"
#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using testing_support::PartyFile;
using testing_support::TempFolder;

TEST(PartyFile, ANewFileHoldsTheSchemaAndNothingElse)
{
    PartyFile file;
    EXPECT_EQ(file.scalar("PRAGMA journal_mode"), "delete");
    EXPECT_EQ(file.scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(
        file.rows(
            "SELECT type, name FROM sqlite_master WHERE name NOT LIKE 'sqlite%' ORDER BY name"),
        (std::vector<std::vector<std::string>>{{"table", "Inventory"},
                                               {"index", "InventoryByName"},
                                               {"view", "SumMoney"},
                                               {"table", "Table1"},
                                               {"view", "Weight"}}));
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "0");
    // Inventory's first three columns are set by position when an item is added.
    EXPECT_EQ(file.rows("SELECT name FROM pragma_table_info('Inventory') LIMIT 3"),
              (std::vector<std::vector<std::string>>{{"Name"}, {"Item"}, {"Weight"}}));
    // Every integer and boolean column of the roster starts at 0.
    file.sql("INSERT INTO Table1 DEFAULT VALUES");
    EXPECT_EQ(
        file.scalar(
            "SELECT count(*) FROM pragma_table_info('Table1') WHERE name NOT IN ('ID', 'Name') "
            "AND dflt_value IS NOT '0'"),
        "0");
}

TEST(PartyFile, TheSampleIsAPartyToTryTheProgramWith)
{
    PartyFile file(true);
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1 WHERE PC = 1"), "4");
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1 WHERE PC = 0 AND Name LIKE 'Goblin.%'"),
              "4");
    EXPECT_GT(std::stoi(file.scalar("SELECT count(*) FROM Inventory")), 0);
    store::PartyStore party;
    file.open(party); // opens every dataset without complaint
    EXPECT_EQ(party.ADOTable1.recordCount(), 8);
    EXPECT_FALSE(party.ADOTable4.isEmpty());
}

TEST(PartyFile, AnExistingPathIsNeverOverwritten)
{
    TempFolder folder;
    const std::string path = (folder.path() / "Mirel.mdb").string();
    std::ofstream(path) << "my notes";
    try {
        store::createPartyFile(path, true);
        ADD_FAILURE() << "no error";
    }
    catch (const store::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + path + "' already exists; a party file is never overwritten");
    }
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "my notes");
    EXPECT_THROW(store::createPartyFile((folder.path() / "no/such/folder/Mirel.mdb").string()),
                 store::Error);
}

} // namespace
