#include "store/Dataset.h"

#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::PartyFile;

// Records read again one by one, as after an undo: the others stay as read, the order follows
// the new values and the current record stays current.
TEST(DatasetRefresh, ReadsTheNamedRecordsAgainAndKeepsTheRest)
{
    PartyFile file;
    file.sql("INSERT INTO Table1 (Name, CurHP, Initiative) VALUES ('Aldric', 30, 3), "
             "('Brynn', 31, 7), ('Cael', 9, 5)");
    store::PartyStore party;
    file.open(party);
    auto& roster = party.ADOTable1;
    roster.setSort("Initiative DESC");
    roster.moveTo(0);
    ASSERT_EQ(roster.fieldByName("Name").value().toString(), "Brynn");
    file.sql("UPDATE Table1 SET Initiative = 1, CurHP = 12 WHERE Name = 'Brynn';"
             "UPDATE Table1 SET CurHP = 1 WHERE Name = 'Aldric'");
    int rowsChanged = 0;
    roster.subscribe(
        [&](store::DatasetEvent e) { rowsChanged += e == store::DatasetEvent::RowsChanged; });

    ASSERT_TRUE(roster.refreshRecords({2}));
    EXPECT_EQ(rowsChanged, 1);
    EXPECT_EQ(roster.fieldByName("Name").value().toString(), "Brynn");
    EXPECT_EQ(roster.fieldByName("CurHP").asInteger(), 12);
    EXPECT_EQ(roster.fieldByName("HP").value().toString().substr(0, 2), "12");
    EXPECT_EQ(roster.recNo(), 2); // now last by initiative
    roster.first();
    EXPECT_EQ(roster.fieldByName("Name").value().toString(), "Cael");
    roster.next();
    EXPECT_EQ(roster.fieldByName("CurHP").asInteger(), 30); // Aldric as read, not as changed

    // A record it does not hold, or the file no longer holds, changes nothing.
    file.sql("DELETE FROM Table1 WHERE Name = 'Cael'");
    EXPECT_FALSE(roster.refreshRecords({1, 3}));
    EXPECT_FALSE(roster.refreshRecords({99}));
    EXPECT_EQ(roster.fieldByName("CurHP").asInteger(), 30);
    EXPECT_EQ(roster.recordCount(), 3);
    // Nor does it while a change is pending, or on a detail.
    roster.edit();
    EXPECT_FALSE(roster.refreshRecords({1}));
    roster.cancel();
    EXPECT_FALSE(party.ADOTable3.refreshRecords({}));
}

} // namespace
