// The party file held locked by another program, or write-protected while the program runs:
// the change is refused with a message that says so, stays pending with its values, and is
// saved by the next post once the file is free again.
#include "actions/HitPoints.h"
#include "store/Connection.h"
#include "tests/faults/FaultParty.h"
#include "tests/faults/WorkerProcess.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include <unistd.h>

namespace {

using namespace testing_support;
using std::chrono::milliseconds;

const char* const aldric =
    "INSERT INTO Table1 (Name, TotalHP, CurHP, PC) VALUES ('Aldric', 40, 30, 1)";

struct LockCase {
    const char* name;
    int holdMs;
    bool refused;
};

class HeldLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(HeldLock, APostWaitsForTheLockOrFailsKeepingItsChange)
{
    const LockCase& c = GetParam();
    ScratchFolder scratch;
    const std::string path = (scratch.path() / "Mirel.mdb").string();
    makeParty(path, aldric);
    store::PartyStore party;
    openStore(party, path);

    WorkerProcess locker({"lock", path, std::to_string(c.holdMs)});
    ASSERT_EQ(locker.readLine(), "locked");
    const auto start = std::chrono::steady_clock::now();
    const std::string error = errorOf([&] {
        actions::applyHitPoints(party.ADOTable1, {"5", "", ""});
    });
    const auto waited =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    std::cout << "[ lock     ] held " << c.holdMs << " ms: the post waited " << waited.count()
              << " ms, " << (error == "no error" ? "then went through" : "then failed: " + error)
              << std::endl;
    if (!c.refused) {
        EXPECT_EQ(error, "no error");
        EXPECT_EQ(queryScalar(path, "SELECT CurHP FROM Table1"), "25");
        return;
    }
    EXPECT_EQ(error, "Another program is using the party file, so the change could not be saved "
                     "yet; it is kept and will be tried again with the next save");
    EXPECT_GE(waited, milliseconds(store::Connection::busyTimeoutMs * 9 / 10));
    EXPECT_EQ(party.ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(party.ADOTable1.fieldByName("CurHP").asInteger(), 25);
    EXPECT_EQ(queryScalar(path, "SELECT CurHP FROM Table1"), "30");
    ASSERT_EQ(locker.readLine(), "released");
    EXPECT_EQ(locker.wait(), 0);
    EXPECT_EQ(errorOf([&] { party.ADOTable1.post(); }), "no error");
    EXPECT_EQ(party.ADOTable1.state(), store::DatasetState::Browse);
    EXPECT_EQ(queryScalar(path, "SELECT CurHP FROM Table1"), "25");
}

INSTANTIATE_TEST_SUITE_P(Faults, HeldLock,
                         ::testing::Values(LockCase{"ShorterThanTheBusyTimeout",
                                                    store::Connection::busyTimeoutMs / 4, false},
                                           LockCase{"LongerThanTheBusyTimeout",
                                                    store::Connection::busyTimeoutMs + 1500, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The program as another user when the tests run as root, for whom no permission bit stops
// a write: setpriv runs the worker as "nobody", who owns the folder and the file.
class WriteProtected : public ::testing::Test {
protected:
    void SetUp() override
    {
        makeParty(path, aldric);
        if (geteuid() == 0) {
            if (access("/usr/bin/setpriv", X_OK) != 0)
                GTEST_SKIP() << "running as root without setpriv: no way to run the program as "
                                "a user whom permissions bind";
            ASSERT_EQ(chown(scratch.path().c_str(), nobody, nobody), 0);
            ASSERT_EQ(chown(path.c_str(), nobody, nobody), 0);
            prefix = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
            // The build folder may lie where that user cannot reach: a copy of the worker
            // beside the file.
            program = (scratch.path() / "worker").string();
            std::filesystem::copy_file(faultWorkerPath(), program);
            std::filesystem::permissions(program, std::filesystem::perms::owner_all |
                                                      std::filesystem::perms::others_read |
                                                      std::filesystem::perms::others_exec);
        }
        worker = std::make_unique<WorkerProcess>(std::vector<std::string>{"serve", path}, prefix,
                                                 program);
        ASSERT_EQ(worker->ask("open"), "ok");
        ASSERT_EQ(worker->ask("goto 1"), "ok");
    }
    std::string curHP() const { return queryScalar(path, "SELECT CurHP FROM Table1"); }

    static constexpr uid_t nobody = 65534;
    ScratchFolder scratch;
    const std::string path = (scratch.path() / "Mirel.mdb").string();
    std::vector<std::string> prefix;
    std::string program = faultWorkerPath();
    std::unique_ptr<WorkerProcess> worker;
};

TEST_F(WriteProtected, AFileWriteProtectedWhileTheProgramRunsRefusesTheChangeUntilItIsFree)
{
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const std::string refused = worker->ask("damage 5");
    std::cout << "[ readonly ] file 0444: " << refused << std::endl;
    EXPECT_EQ(refused, "error '" + path + "' is read-only, so the change was not saved");
    EXPECT_EQ(worker->ask("state"), "ok edit");
    EXPECT_EQ(worker->ask("get CurHP"), "ok 25");
    EXPECT_EQ(curHP(), "30");

    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(worker->ask("post"), "ok");
    EXPECT_EQ(worker->ask("state"), "ok browse");
    EXPECT_EQ(curHP(), "25");
    EXPECT_EQ(worker->ask("damage 1"), "ok");
    EXPECT_EQ(curHP(), "24");
    worker->send("quit");
    EXPECT_EQ(worker->wait(), 0);
    EXPECT_EQ(queryScalar(path, "PRAGMA integrity_check"), "ok");
}

TEST_F(WriteProtected, AFolderWriteProtectedWhileTheProgramRunsRefusesTheChangeUntilItIsFree)
{
    // The journal that keeps a commit whole is made beside the file: a folder that takes no new
    // file refuses the change clearly, before anything is written, and keeps it pending.
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_exec);
    const std::string answer = worker->ask("damage 5");
    std::cout << "[ readonly ] folder 0500: " << answer << std::endl;
    EXPECT_EQ(answer, "error '" + path +
                          "' lies in a folder that cannot be written, so the change was not saved");
    EXPECT_EQ(worker->ask("state"), "ok edit");
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(worker->ask("post"), "ok");
    worker->send("quit");
    EXPECT_EQ(worker->wait(), 0);
    EXPECT_EQ(curHP(), "25");
    EXPECT_EQ(queryScalar(path, "PRAGMA integrity_check"), "ok");
}

TEST_F(WriteProtected, AFileInAFolderThatCannotBeWrittenOpensReadOnlyAndShowsTheParty)
{
    worker->send("quit");
    ASSERT_EQ(worker->wait(), 0);
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_exec |
                                                     std::filesystem::perms::others_read |
                                                     std::filesystem::perms::others_exec);
    WorkerProcess reader({"serve", path}, prefix, program);
    ASSERT_EQ(reader.ask("open"), "ok");
    ASSERT_EQ(reader.ask("goto 1"), "ok");
    EXPECT_EQ(reader.ask("get Name"), "ok Aldric");
    EXPECT_EQ(reader.ask("get CurHP"), "ok 30");
    for (const char* change : {"damage 5", "heal 1"}) {
        SCOPED_TRACE(change);
        EXPECT_EQ(reader.ask(change),
                  "error '" + path + "' is read-only, so the change was not saved");
        EXPECT_EQ(reader.ask("reopen"), "ok");
        EXPECT_EQ(reader.ask("goto 1"), "ok");
    }
    reader.send("quit");
    EXPECT_EQ(reader.wait(), 0);
    EXPECT_EQ(curHP(), "30");
}

} // namespace
