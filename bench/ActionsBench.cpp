// The group extended rest over a party of 1,000 player characters: 2,000 posts through the
// store in one step, beside plain SQLite doing the same 2,000 single-row updates in one
// transaction on the same kind of file with the same settings. Compare the two times per
// iteration.

#include "actions/GroupActions.h"
#include "actions/Rests.h"
#include "store/Connection.h"
#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace {

constexpr int partySize = 1000;

// A party file holding `partySize` worn-out player characters.
void fillParty(const testing_support::PartyFile& file)
{
    std::string sql = "BEGIN;";
    for (int i = 0; i < partySize; ++i)
        sql += "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, APoints, Milestone, UsedEnc, "
               "UsedDaily,"
               " HealingSurgesUsed, Stunned, UsedSecondWind, PC) VALUES ('PC" +
               std::to_string(i) + "', 40, 12, 3, 0, 2, 2, 1, 3, 1, 1, 1);";
    file.sql(sql + "COMMIT;");
}

void BM_GroupExtendedRest(benchmark::State& state)
{
    testing_support::PartyFile file;
    fillParty(file);
    store::PartyStore party;
    file.open(party);
    store::Dataset& roster = party.ADOTable1;
    for (auto _ : state)
        actions::forEachPlayerCharacter(roster, [&] { actions::takeExtendedRest(roster); });
    state.counters["posts"] =
        benchmark::Counter(2.0 * partySize, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GroupExtendedRest)->Unit(benchmark::kMillisecond)->UseRealTime();

void check(sqlite3* db, int rc, int expected = SQLITE_OK)
{
    if (rc != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

// The same writes without the store: one prepared UPDATE per cycle of the rest, all in one
// transaction, on the same rollback-journal file with synchronous=EXTRA and the busy timeout
// the store's connection sets. Goal: the store's group rest within 3x of this.
void BM_PlainSqliteRestUpdates(benchmark::State& state)
{
    testing_support::PartyFile file;
    fillParty(file);
    sqlite3* db = nullptr;
    check(db, sqlite3_open_v2(file.path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
    sqlite3_busy_timeout(db, store::Connection::busyTimeoutMs);
    check(db, sqlite3_exec(db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr));
    sqlite3_stmt* shortRest = nullptr;
    sqlite3_stmt* extendedRest = nullptr;
    check(db,
          sqlite3_prepare_v2(
              db,
              "UPDATE Table1 SET UsedEnc = 0, Blinded = 0, Dazed = 0, Dominated = 0, Helpless = 0,"
              " Immobilized = 0, Marked = 0, Petrified = 0, Prone = 0, Restrained = 0, Slowed = 0,"
              " Stunned = 0, Surprised = 0, Unconscious = 0, Weakened = 0, UsedSecondWind = 0"
              " WHERE ID = ?1",
              -1, &shortRest, nullptr));
    check(db,
          sqlite3_prepare_v2(
              db,
              "UPDATE Table1 SET UsedDailyItem = 0, UsedDaily = 0, APoints = 1, Milestone = 0,"
              " UsedMilestone = 0, UsedAPoints = 0, CurHP = ?2, TempHP = 0, HealingSurgesUsed = 0"
              " WHERE ID = ?1",
              -1, &extendedRest, nullptr));
    for (auto _ : state) {
        check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
        for (int id = 1; id <= partySize; ++id) {
            sqlite3_bind_int(shortRest, 1, id);
            check(db, sqlite3_step(shortRest), SQLITE_DONE);
            sqlite3_reset(shortRest);
            sqlite3_bind_int(extendedRest, 1, id);
            sqlite3_bind_int(extendedRest, 2, 40);
            check(db, sqlite3_step(extendedRest), SQLITE_DONE);
            sqlite3_reset(extendedRest);
        }
        check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    }
    state.counters["posts"] =
        benchmark::Counter(2.0 * partySize, benchmark::Counter::kIsIterationInvariantRate);
    sqlite3_finalize(shortRest);
    sqlite3_finalize(extendedRest);
    sqlite3_close(db);
}
BENCHMARK(BM_PlainSqliteRestUpdates)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
