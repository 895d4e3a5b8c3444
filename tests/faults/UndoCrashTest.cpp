// The program killed in the middle of undoing a group extended rest: the undo is one
// transaction, so the file holds either the whole rest or none of it, never a mix.
#include "tests/faults/FaultParty.h"
#include "tests/faults/WorkerProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <thread>

namespace {

using namespace testing_support;

constexpr int trials = 12;

// A thousand player characters, each with damage, spent surges and used powers that the
// extended rest clears.
const char* const restedParty = R"(
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000)
INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, HealingSurgesUsed, PC, UsedEnc, UsedDaily,
    UsedSecondWind, Dazed, APoints)
SELECT 'Hero ' || i, 30 + i % 40, 1 + i % 20, i % 6, 1 + i % 3, 1, 1 + i % 2, 1, 1, i % 2, i % 4
FROM n)";

std::string copyTo(const std::string& from, const std::filesystem::path& folder)
{
    std::filesystem::create_directory(folder);
    const std::string to = (folder / "Mirel.mdb").string();
    std::filesystem::copy_file(from, to);
    return to;
}

TEST(UndoCrashSafety, AnUndoKilledAtAnyMomentIsWhollyDoneOrNotAtAll)
{
    ScratchFolder scratch;
    const std::string original = (scratch.path() / "Mirel.mdb").string();
    makeParty(original, restedParty);
    const RosterRows before = rosterRows(original);

    // The rest and its undo run to the end once: the rest's state and the undo's length.
    const std::string whole = copyTo(original, scratch.path() / "whole");
    RosterRows rested;
    std::chrono::microseconds undoTook{};
    {
        WorkerProcess worker({"undo", whole});
        ASSERT_EQ(worker.readLine(std::chrono::seconds(120)), "undoing");
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(worker.readLine(std::chrono::seconds(120)), "done");
        undoTook = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        ASSERT_EQ(worker.wait(), 0);
    }
    ASSERT_EQ(rosterRows(whole), before); // undone to the last field
    {
        const std::string restOnly = copyTo(original, scratch.path() / "rested");
        WorkerProcess worker({"rest", restOnly, "extended"});
        ASSERT_EQ(worker.readLine(), "walking");
        ASSERT_EQ(worker.readLine(std::chrono::seconds(120)), "done");
        ASSERT_EQ(worker.wait(), 0);
        rested = rosterRows(restOnly);
    }
    ASSERT_NE(rested, before);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> delay(0, undoTook.count());
    int undone = 0, stillRested = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const std::string path = copyTo(original, scratch.path() / ("t" + std::to_string(trial)));
        const auto wait = std::chrono::microseconds(delay(random));
        {
            WorkerProcess worker({"undo", path});
            ASSERT_EQ(worker.readLine(std::chrono::seconds(120)), "undoing");
            std::this_thread::sleep_for(wait);
            worker.kill(SIGKILL);
            const int status = worker.wait();
            ASSERT_TRUE(status == 128 + SIGKILL || status == 0) << status;
        }
        ASSERT_EQ(queryScalar(path, "PRAGMA integrity_check"), "ok");
        const RosterRows after = rosterRows(path);
        const bool isUndone = after == before, isRested = after == rested;
        ASSERT_TRUE(isUndone || isRested) << "killed after " << wait.count() << " us: a mix";
        undone += isUndone;
        stillRested += isRested;
        std::filesystem::remove_all(scratch.path() / ("t" + std::to_string(trial)));
    }
    std::cout << "[ undo     ] undo of " << before.size() << " records took "
              << undoTook.count() / 1000 << " ms; " << trials << " kills: " << undone
              << " wholly undone, " << stillRested << " wholly rested" << std::endl;
}

} // namespace
