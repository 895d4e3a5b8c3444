// The program killed in the middle of the group extended rest or of an NPC batch, as by a
// power button or a crash: the party file must open as before, every record whole, and the
// step wholly done or wholly undone.
#include "actions/GroupActions.h"
#include "actions/Rests.h"
#include "tests/faults/FaultParty.h"
#include "tests/faults/WorkerProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <random>
#include <thread>

namespace {

using namespace testing_support;

constexpr int partySize = 1000;
constexpr int trials = 20;

// A thousand player characters, each with something every cycle of the rest changes: used
// encounter powers, conditions and the second wind for the short rest; damage, temporary hit
// points, spent surges, used dailies, action points and milestones for the rest of it. Some
// are dying, which no rest clears.
const char* const thousandCharacters = R"(
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000)
INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, AC, APoints, Blinded, Dazed,
    Dying, Prone, Slowed, Weakened, HealingSurgesUsed, cp, gp, Milestone, UsedMilestone,
    UsedAPoints, PC, UsedEnc, UsedDaily, UsedDailyItem, UsedSecondWind)
SELECT 'Hero ' || i, 30 + i % 50, 1 + i % 25, 1 + i % 7, i % 20 + 0.25, 14 + i % 6, 2 + i % 3,
    i % 2, 1 - i % 2, i % 11 = 0, i % 3 = 0, 1, i % 5 = 0, 1 + i % 4, i, i % 9, 1 + i % 2,
    i % 2, 1 + i % 3, 1, 1 + i % 3, 1 + i % 2, 1, 1
FROM n)";

enum RecordState { Before, AfterShortCycle, AfterExtendedRest, Mixed };

unsigned seedOfRun()
{
    if (const char* fixed = std::getenv("TAVRIX_FAULT_SEED")) return std::stoul(fixed);
    return std::random_device()();
}

std::string copyTo(const std::string& from, const std::filesystem::path& folder)
{
    std::filesystem::create_directory(folder);
    const std::string to = (folder / "Mirel.mdb").string();
    std::filesystem::copy_file(from, to);
    return to;
}

// Runs the worker's group rest to the end on the file; gives how long the walk took.
std::chrono::microseconds restToTheEnd(const std::string& path, const char* kind)
{
    WorkerProcess worker({"rest", path, kind});
    EXPECT_EQ(worker.readLine(), "walking");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(worker.readLine(std::chrono::seconds(120)), "done");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(worker.wait(), 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(took);
}

TEST(CrashSafety, AGroupRestKilledAtAnyMomentLeavesEveryRecordWhole)
{
    ScratchFolder scratch;
    const std::string original = (scratch.path() / "Mirel.mdb").string();
    makeParty(original, thousandCharacters);
    ASSERT_FALSE(std::filesystem::exists(original + "-wal")); // one file, nothing beside it

    // The three whole states of every record: as it starts, after the short rest's cycle of
    // the extended rest, and after the whole extended rest, each made by the same actions
    // run to the end on an identical copy.
    const std::string shortOnly = copyTo(original, scratch.path() / "short");
    const std::string extended = copyTo(original, scratch.path() / "extended");
    restToTheEnd(shortOnly, "short");
    const auto walk = restToTheEnd(extended, "extended");
    const RosterRows before = rosterRows(original);
    const RosterRows afterShort = rosterRows(shortOnly);
    const RosterRows afterExtended = rosterRows(extended);
    ASSERT_EQ(before.size(), static_cast<std::size_t>(partySize));
    for (const auto& [id, row] : before) {
        ASSERT_NE(row, afterShort.at(id)) << "the short rest changes record " << id;
        ASSERT_NE(afterShort.at(id), afterExtended.at(id)) << "the rest changes record " << id;
    }

    const unsigned seed = seedOfRun();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay(0, walk.count());
    std::cout << "[ crash    ] seed " << seed << " (TAVRIX_FAULT_SEED), walk of " << partySize
              << " records took " << walk.count() / 1000 << " ms" << std::endl;

    int killedMidWalk = 0;
    long long counts[3] = {0, 0, 0};
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial) + ", seed " + std::to_string(seed));
        const std::string path =
            copyTo(original, scratch.path() / ("trial" + std::to_string(trial)));
        const auto wait = std::chrono::microseconds(delay(random));
        {
            WorkerProcess worker({"rest", path, "extended"});
            ASSERT_EQ(worker.readLine(), "walking");
            std::this_thread::sleep_for(wait);
            worker.kill(SIGKILL);
            const int status = worker.wait();
            ASSERT_TRUE(status == 128 + SIGKILL || status == 0) << status;
            killedMidWalk += status == 128 + SIGKILL;
        }

        ASSERT_EQ(queryScalar(path, "PRAGMA integrity_check"), "ok");
        // The walk is one step: wholly undone or wholly done, never a prefix of it, and every
        // record whole.
        const RosterRows after = rosterRows(path);
        ASSERT_EQ(after.size(), before.size());
        long long trialCounts[3] = {0, 0, 0};
        const RecordState whole = after == before ? Before : AfterExtendedRest;
        for (const auto& [id, row] : after) {
            const RecordState state = row == before.at(id)          ? Before
                                      : row == afterShort.at(id)    ? AfterShortCycle
                                      : row == afterExtended.at(id) ? AfterExtendedRest
                                                                    : Mixed;
            ASSERT_NE(state, Mixed) << "record " << id << " holds a mix of fields";
            ASSERT_EQ(state, whole) << "record " << id << " is not where the others are";
            ++trialCounts[state];
        }
        for (int s = 0; s < 3; ++s)
            counts[s] += trialCounts[s];
        std::cout << "[ crash    ] trial " << trial << ": killed after " << wait.count() / 1000
                  << " ms; before " << trialCounts[Before] << ", short cycle "
                  << trialCounts[AfterShortCycle] << ", extended rest "
                  << trialCounts[AfterExtendedRest] << std::endl;

        // The program opens the file as ever, and the rest run again finishes the work.
        store::PartyStore party;
        openStore(party, path);
        ASSERT_EQ(party.ADOTable1.recordCount(), partySize);
        actions::forEachPlayerCharacter(party.ADOTable1,
                                        [&] { actions::takeExtendedRest(party.ADOTable1); });
        party.ADOConnection1.setConnected(false);
        ASSERT_EQ(rosterRows(path), afterExtended);
        std::filesystem::remove_all(scratch.path() / ("trial" + std::to_string(trial)));
    }
    std::cout << "[ crash    ] " << trials << " trials, " << killedMidWalk
              << " killed mid-walk; records before " << counts[Before] << ", after the short cycle "
              << counts[AfterShortCycle] << ", after the extended rest "
              << counts[AfterExtendedRest] << ", mixed 0" << std::endl;
    RecordProperty("trials", trials);
    RecordProperty("killed_mid_walk", killedMidWalk);
    RecordProperty("records_before", std::to_string(counts[Before]));
    RecordProperty("records_after_short_cycle", std::to_string(counts[AfterShortCycle]));
    RecordProperty("records_after_extended_rest", std::to_string(counts[AfterExtendedRest]));
    // Most kills land in the middle of the walk, else the trials prove little.
    EXPECT_GE(killedMidWalk, trials / 2);
}

TEST(CrashSafety, AnNpcBatchKilledAtAnyMomentIsWhollyDoneOrWhollyUndone)
{
    constexpr int batch = 1000;
    ScratchFolder scratch;
    const std::string original = (scratch.path() / "Mirel.mdb").string();
    makeParty(original, "INSERT INTO Table1 (Name, PC) VALUES ('Aldric', 1)");
    const std::string timed = copyTo(original, scratch.path() / "timed");
    std::chrono::microseconds took{};
    {
        WorkerProcess worker({"batch", timed, std::to_string(batch)});
        ASSERT_EQ(worker.readLine(), "inserting");
        const auto start = std::chrono::steady_clock::now();
        for (int n = 50; n <= batch; n += 50)
            ASSERT_EQ(worker.readLine(), "at " + std::to_string(n));
        ASSERT_EQ(worker.readLine(), "done");
        took = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        ASSERT_EQ(worker.wait(), 0);
    }
    ASSERT_EQ(queryScalar(timed, "SELECT count(*) FROM Table1 WHERE PC = 0"),
              std::to_string(batch));

    const unsigned seed = seedOfRun();
    std::mt19937 random(seed);
    // Kills spread over the batch: after a random one of its progress lines, then a moment
    // more, so that they land at any insert and now and then on the commit.
    std::uniform_int_distribution<int> progress(1, batch / 50);
    std::uniform_int_distribution<long long> delay(0, took.count() / 20);
    int killed = 0, whole = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial) + ", seed " + std::to_string(seed));
        const std::filesystem::path folder = scratch.path() / ("batch" + std::to_string(trial));
        const std::string path = copyTo(original, folder);
        {
            WorkerProcess worker({"batch", path, std::to_string(batch)});
            ASSERT_EQ(worker.readLine(), "inserting");
            const int line = progress(random);
            for (int n = 1; n <= line; ++n)
                ASSERT_EQ(worker.readLine(), "at " + std::to_string(n * 50));
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            worker.kill(SIGKILL);
            const int status = worker.wait();
            ASSERT_TRUE(status == 128 + SIGKILL || status == 0) << status;
            killed += status == 128 + SIGKILL;
        }
        ASSERT_EQ(queryScalar(path, "PRAGMA integrity_check"), "ok");
        const std::string npcs = queryScalar(path, "SELECT count(*) FROM Table1 WHERE PC = 0");
        ASSERT_TRUE(npcs == "0" || npcs == std::to_string(batch)) << npcs << " NPCs";
        whole += npcs == std::to_string(batch);
        if (npcs != "0") {
            ASSERT_EQ(queryScalar(path, "SELECT count(*) FROM Table1 WHERE PC = 0 AND Name = "
                                        "'Orc.' || (ID - 1) AND CurHP = 25 AND TotalHP = 25"),
                      std::to_string(batch));
        }
        ASSERT_EQ(queryScalar(path, "SELECT Name FROM Table1 WHERE PC = 1"), "Aldric");
        std::filesystem::remove_all(folder);
    }
    std::cout << "[ crash    ] batch of " << batch << " took " << took.count() / 1000 << " ms; "
              << trials << " trials, " << killed << " killed, " << whole << " wholly done"
              << std::endl;
    EXPECT_GE(killed, trials / 2);
}

} // namespace
