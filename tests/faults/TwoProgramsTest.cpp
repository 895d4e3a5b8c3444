// Two programs on one party file, each with its own connection and its own snapshot: a
// change made from a snapshot the other program has since overtaken is refused, never
// written over the other's, and nothing either program was told was saved goes missing.
#include "actions/HitPoints.h"
#include "tests/faults/FaultParty.h"
#include "tests/faults/WorkerProcess.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

namespace {

using namespace testing_support;

const std::string conflict =
    "ADOTable1: The record was changed or deleted by another program since it was read, so "
    "this change was not saved; press F5 (Reload) or Esc in the roster to drop it and read the "
    "record again";

int curHP(store::PartyStore& party)
{
    return party.ADOTable1.fieldByName("CurHP").asInteger();
}

TEST(TwoPrograms, APostFromAnOvertakenSnapshotIsRefusedAndBothProgramsGoOn)
{
    ScratchFolder scratch;
    const std::string path = (scratch.path() / "Mirel.mdb").string();
    makeParty(path, "INSERT INTO Table1 (Name, TotalHP, CurHP, PC) VALUES ('Aldric', 40, 30, 1), "
                    "('Brynn', 31, 31, 1)");
    const auto fileCurHP = [&] {
        return queryScalar(path, "SELECT CurHP FROM Table1 WHERE Name = 'Aldric'");
    };
    store::PartyStore mine;
    openStore(mine, path);
    WorkerProcess other({"serve", path});
    ASSERT_EQ(other.ask("open"), "ok");
    ASSERT_EQ(other.ask("goto 1"), "ok");

    // The other program damages Aldric by 5; this one still holds 30 and damages by 3.
    ASSERT_EQ(other.ask("damage 5"), "ok");
    EXPECT_EQ(fileCurHP(), "25");
    EXPECT_EQ(errorOf([&] { actions::applyHitPoints(mine.ADOTable1, {"3", "", ""}); }), conflict);
    EXPECT_EQ(mine.ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(curHP(mine), 27); // what this program typed is still there
    EXPECT_EQ(fileCurHP(), "25");

    // The other program goes on and works on.
    EXPECT_EQ(other.ask("state"), "ok browse");
    EXPECT_EQ(other.ask("damage 1"), "ok");
    EXPECT_EQ(fileCurHP(), "24");

    // Trying again is refused again, with the change still pending.
    EXPECT_EQ(errorOf([&] { mine.ADOTable1.post(); }), conflict);
    EXPECT_EQ(mine.ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(curHP(mine), 27);
    // A move settles the change, fails the same way and stays on the record.
    EXPECT_EQ(errorOf([&] { mine.ADOTable1.next(); }), conflict);
    EXPECT_EQ(mine.ADOTable1.recNo(), 0);

    // Reopened, this program shows the other's change, and its own next change goes through.
    mine.ADOTable1.reopen();
    EXPECT_EQ(curHP(mine), 24);
    EXPECT_EQ(errorOf([&] { actions::applyHitPoints(mine.ADOTable1, {"3", "", ""}); }), "no error");
    EXPECT_EQ(fileCurHP(), "21");

    // The other way round: now the other program's snapshot is the overtaken one.
    EXPECT_EQ(other.ask("damage 2"), "error " + conflict);
    EXPECT_EQ(other.ask("state"), "ok edit");
    EXPECT_EQ(other.ask("get CurHP"), "ok 22");
    EXPECT_EQ(fileCurHP(), "21");
    EXPECT_EQ(other.ask("reopen"), "ok");
    EXPECT_EQ(other.ask("get CurHP"), "ok 21");
    other.send("quit");
    EXPECT_EQ(other.wait(), 0);
}

// The counted change of one field of one record.
using Totals = std::map<std::pair<int, std::string>, long long>;

struct SoakLog {
    int accepted = 0;
    int conflicts = 0;
    int locked = 0;
    int other = 0;
    int lost = 0; // rejections that did not keep the pending values
    Totals deltas;
};

SoakLog readLog(const std::string& path)
{
    SoakLog log;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        int id = 0;
        words >> kind >> id;
        if (kind == "accepted") {
            ++log.accepted;
            std::string field;
            long long delta;
            while (words >> field >> delta)
                log.deltas[{id, field}] += delta;
            continue;
        }
        std::string kept;
        words >> kept;
        std::string message;
        std::getline(words >> std::ws, message);
        log.lost += kept != "kept";
        if (message == conflict)
            ++log.conflicts;
        else if (message == "Another program is using the party file, so the change could not be "
                            "saved yet; it is kept and will be tried again with the next save")
            ++log.locked;
        else
            ++log.other;
    }
    return log;
}

TEST(TwoPrograms, TwoProgramsHammeringFiveRecordsLoseNoUpdate)
{
    constexpr int actionsEach = 1000;
    const char* const counted[] = {"CurHP",   "Milestone", "APoints",
                                   "UsedEnc", "UsedDaily", "UsedAPoints"};
    ScratchFolder scratch;
    const std::string path = (scratch.path() / "Mirel.mdb").string();
    // Hit points far from 0 and from the total, no temporary ones: every damage and heal
    // moves CurHP by exactly its amount.
    makeParty(path, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5) "
                    "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, PC, Milestone) "
                    "SELECT 'Hero ' || i, 2000000000, 1000000000 + i, 0, 1, i FROM n");
    const auto values = [&] {
        Totals t;
        for (const auto& [id, row] : rosterRows(path))
            for (const char* field : counted)
                t[{id, field}] = std::stoll(
                    queryScalar(path, std::string("SELECT ") + field +
                                          " FROM Table1 WHERE ID = " + std::to_string(id)));
        return t;
    };
    const Totals start = values();

    std::random_device seeds;
    const unsigned seedA = seeds(), seedB = seeds();
    const std::string logA = (scratch.path() / "a.log").string();
    const std::string logB = (scratch.path() / "b.log").string();
    WorkerProcess a({"soak", path, std::to_string(seedA), std::to_string(actionsEach), logA});
    WorkerProcess b({"soak", path, std::to_string(seedB), std::to_string(actionsEach), logB});
    ASSERT_EQ(a.readLine(), "ready");
    ASSERT_EQ(b.readLine(), "ready");
    a.send("go");
    b.send("go");
    const auto summaryA = a.readLine(std::chrono::seconds(240));
    const auto summaryB = b.readLine(std::chrono::seconds(240));
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);
    ASSERT_TRUE(summaryA && summaryB);

    const SoakLog la = readLog(logA), lb = readLog(logB);
    std::cout << "[ soak     ] seeds " << seedA << " and " << seedB << std::endl;
    for (const auto& [name, log, summary] :
         {std::tuple{"A", la, *summaryA}, std::tuple{"B", lb, *summaryB}}) {
        std::cout << "[ soak     ] worker " << name << ": accepted " << log.accepted
                  << ", rejected " << log.conflicts + log.locked + log.other << " ("
                  << log.conflicts << " conflicts, " << log.locked << " locked, " << log.other
                  << " other)" << std::endl;
        EXPECT_EQ(log.accepted, actionsEach);
        EXPECT_EQ(summary, "accepted " + std::to_string(log.accepted) + " rejected " +
                               std::to_string(log.conflicts + log.locked + log.other));
        EXPECT_EQ(log.other, 0) << "every refusal says why";
        EXPECT_EQ(log.lost, 0) << "a refused change stays pending with its values";
    }
    // How often one overtook the other depends on the machine's timing; the first test of
    // this file shows a refusal for certain, this one that none loses an update.
    std::cout << "[ soak     ] conflicts " << la.conflicts + lb.conflicts << std::endl;

    const Totals end = values();
    int fieldsChecked = 0;
    for (const auto& [key, value] : start) {
        long long expected = value;
        if (const auto it = la.deltas.find(key); it != la.deltas.end()) expected += it->second;
        if (const auto it = lb.deltas.find(key); it != lb.deltas.end()) expected += it->second;
        EXPECT_EQ(end.at(key), expected) << "record " << key.first << ", " << key.second;
        ++fieldsChecked;
    }
    std::cout << "[ soak     ] " << fieldsChecked << " fields of 5 records equal the start plus "
              << la.accepted + lb.accepted << " accepted changes: no update lost" << std::endl;
    RecordProperty("accepted_a", la.accepted);
    RecordProperty("accepted_b", lb.accepted);
    RecordProperty("rejected_a", la.conflicts + la.locked + la.other);
    RecordProperty("rejected_b", lb.conflicts + lb.locked + lb.other);
    EXPECT_EQ(queryScalar(path, "PRAGMA integrity_check"), "ok");
}

} // namespace
