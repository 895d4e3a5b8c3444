// A full disk or a failing drive under the store and the actions: the engine's message
// reaches the caller, the file stays consistent, the record keeps what was typed, and the
// same step goes through once the fault is gone.
#include "tests/support/WriteFaults.h"
#include "actions/Rests.h"
#include "store/Statement.h"
#include "tests/actions/Party.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

using namespace actions_testing;
using testing::HasSubstr;
using testing_support::WriteFaults;

const char* const setup =
    "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, PC, UsedEnc, UsedDaily, APoints, Dazed, "
    "Prone, HealingSurgesUsed, cp) VALUES "
    "('Aldric', 40, 12, 3, 1, 1, 1, 0, 1, 1, 2, 10), ('Brynn', 30, 30, 0, 1, 0, 0, 1, 0, 0, 0, 4);"
    "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Sword', 4)";

// Everything the file holds that the program writes, to show a refused step changed nothing.
std::vector<std::vector<std::string>> contents(const Party& p)
{
    auto rows = p.file.rows("SELECT * FROM Table1 ORDER BY ID");
    for (auto& r : p.file.rows("SELECT * FROM Inventory ORDER BY ID"))
        rows.push_back(r);
    return rows;
}

struct Fault {
    const char* label;
    int code;
    const char* message; // in the master's words
};
const Fault faults[] = {
    {"a full disk", SQLITE_FULL, "is full, so the change was not saved; free some space"},
    {"a failing drive", SQLITE_IOERR_WRITE, "(disk I/O error), so the change was not saved"},
};

struct Step {
    const char* label;
    std::function<void(Party&)> before; // sets the step up, with writes still allowed
    std::function<void(Party&)> run;    // the step the fault refuses, and then lets through
    std::function<void(Party&)> afterRefusal;
    std::function<void(Party&)> retry;
    std::function<void(Party&)> afterSuccess;
};

TEST(WriteFaults, ARefusedWriteChangesNothingAndTheSameStepSucceedsLater)
{
    const Step steps[] = {
        {"post",
         [](Party& p) {
             p.roster().edit();
             p.roster().fieldByName("CurHP").setAsInteger(5);
         },
         [](Party& p) { p.roster().post(); },
         [](Party& p) {
             EXPECT_EQ(p.roster().state(), store::DatasetState::Edit);
             EXPECT_EQ(p.roster().fieldByName("CurHP").asInteger(), 5);
         },
         [](Party& p) { p.roster().post(); },
         [](Party& p) { EXPECT_EQ(p.row("Aldric", "CurHP"), Row{"5"}); }},
        {"delete", [](Party&) {}, [](Party& p) { p.roster().deleteRecord(); },
         [](Party& p) {
             EXPECT_EQ(p.roster().recordCount(), 2);
             EXPECT_EQ(p.roster().fieldByName("Name").asString(), "Aldric");
             EXPECT_EQ(p.roster().state(), store::DatasetState::Browse);
         },
         [](Party& p) { p.roster().deleteRecord(); },
         [](Party& p) { EXPECT_EQ(p.recordCount(), 1); }},
        {"AppendValues", [](Party&) {},
         [](Party& p) {
             p.store.ADOTable3.appendValues({"Aldric", "Rope", 2});
         },
         [](Party& p) {
             EXPECT_EQ(p.store.ADOTable3.recordCount(), 1);
             EXPECT_EQ(p.store.ADOTable3.state(), store::DatasetState::Browse);
         },
         [](Party& p) {
             p.store.ADOTable3.appendValues({"Aldric", "Rope", 2});
         },
         [](Party& p) {
             EXPECT_EQ(p.file.scalar("SELECT group_concat(Item) FROM Inventory"), "Sword,Rope");
             EXPECT_EQ(p.store.ADOTable3.recordCount(), 2);
         }},
        {"a statement", [](Party&) {},
         [](Party& p) {
             store::Statement insert(p.store.ADOConnection1, "ADOQuery1");
             insert.setSql("INSERT INTO Table1 ( Name, TotalHP, CurHP, PC )\n"
                           "   VALUES (:Name, :TotalHP, :CurHP, :PC );");
             insert.paramByName("Name").setValue("Orc.1");
             insert.paramByName("TotalHP").setValue(store::Value(20));
             insert.paramByName("CurHP").setValue(store::Value(20));
             insert.paramByName("PC").setValue(false);
             insert.execute();
         },
         [](Party&) {},
         nullptr, // the same statement again
         [](Party& p) {
             EXPECT_EQ(p.row("Orc.1", "CurHP, PC"), (Row{"20", "0"}));
         }},
    };
    for (const Fault& fault : faults)
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(fault.label) + ", " + step.label);
            WriteFaults disk;
            Party p(setup);
            step.before(p);
            const auto before = contents(p);
            disk.arm(fault.code);
            EXPECT_THAT(errorOf([&] { step.run(p); }), HasSubstr(fault.message));
            EXPECT_GT(disk.refused(), 0);
            disk.disarm();
            EXPECT_EQ(p.file.scalar("PRAGMA integrity_check"), "ok");
            EXPECT_EQ(contents(p), before);
            step.afterRefusal(p);

            EXPECT_EQ(errorOf([&] { (step.retry ? step.retry : step.run)(p); }), "no error");
            step.afterSuccess(p);
            EXPECT_EQ(p.file.scalar("PRAGMA integrity_check"), "ok");
        }
}

// An extended rest is two Edit/Post cycles. Refused in the second, the file keeps the first
// whole and the roster keeps the second's values, which the next post writes.
TEST(WriteFaults, AnExtendedRestRefusedInItsSecondCycleKeepsTheFirst)
{
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.label);
        WriteFaults disk;
        Party p(setup);
        const char* const columns = "CurHP, TempHP, UsedEnc, UsedDaily, APoints, Dazed, Prone, "
                                    "HealingSurgesUsed, cp";
        bool edited = false;
        const int subscription = p.roster().subscribe([&](store::DatasetEvent event) {
            if (event != store::DatasetEvent::StateChanged) return;
            if (p.roster().state() == store::DatasetState::Edit)
                edited = true;
            else if (edited && !disk.armed())
                disk.arm(fault.code); // the first cycle is posted
        });
        EXPECT_THAT(errorOf([&] { actions::takeExtendedRest(p.roster()); }),
                    HasSubstr(fault.message));
        p.roster().unsubscribe(subscription);
        disk.disarm();

        EXPECT_EQ(p.file.scalar("PRAGMA integrity_check"), "ok");
        // The short rest's cycle is in the file; nothing of the second.
        EXPECT_EQ(p.row("Aldric", columns), (Row{"12", "3", "0", "1", "0", "0", "0", "2", "10"}));
        EXPECT_EQ(p.roster().state(), store::DatasetState::Edit);
        EXPECT_EQ(p.roster().fieldByName("CurHP").asInteger(), 40);

        p.roster().post();
        EXPECT_EQ(p.row("Aldric", columns), (Row{"40", "0", "0", "0", "1", "0", "0", "0", "10"}));
        EXPECT_EQ(p.row("Brynn", "CurHP, APoints"), (Row{"30", "1"}));
    }
}

} // namespace
