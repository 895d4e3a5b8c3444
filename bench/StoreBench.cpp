// The store beside plain SQLite doing the same work on the same kind of file, in one run.
#include "store/PartyStore.h"
#include "store/Statement.h"
#include "tests/support/PartyFixture.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <malloc.h>
#include <string>

namespace {

using testing_support::PartyFile;

void fillRoster(const PartyFile& file, int records)
{
    file.sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(records) +
             ") INSERT INTO Table1 (Name, TotalHP, CurHP, Initiative, PC, cp, gp, Prone) "
             "SELECT 'Character ' || i, 40, i % 40, i % 20, i % 2, i, i * 2, i % 3 = 0 FROM n");
}

sqlite3* openPlain(const PartyFile& file)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return db;
}

void connect(const PartyFile& file, store::PartyStore& party)
{
    party.ADOConnection1.setConnectionString(file.connectionString());
    party.ADOConnection1.setConnected(true);
}

// ---- opening 10,000 records

void PlainSQLite_ReadRoster(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 10000);
    sqlite3* db = openPlain(file);
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM Table1 ORDER BY rowid", -1, &stmt, nullptr);
        long long sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    sum += sqlite3_column_int(stmt, c);
                    break;
                case SQLITE_FLOAT:
                    sum += static_cast<long long>(sqlite3_column_double(stmt, c));
                    break;
                case SQLITE_TEXT:
                    sum += sqlite3_column_bytes(stmt, c);
                    break;
                default:
                    break;
                }
            }
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}
BENCHMARK(PlainSQLite_ReadRoster)->Unit(benchmark::kMillisecond);

void Store_OpenRoster(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 10000);
    store::PartyStore party;
    connect(file, party);
    for (auto _ : state) {
        party.ADOTable1.reopen();
        // The first screen of the grid: the derived texts of the rows shown.
        for (int row = 0; row < 20; ++row)
            party.ADOTable1.withRecord(row, [&] {
                benchmark::DoNotOptimize(party.ADOTable1.fieldByName("HP").value());
                benchmark::DoNotOptimize(party.ADOTable1.fieldByName("Effects").value());
            });
    }
}
BENCHMARK(Store_OpenRoster)->Unit(benchmark::kMillisecond);

void Store_RosterSnapshotMemory(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 10000);
    store::PartyStore party;
    connect(file, party);
    double perRecord = 0;
    for (auto _ : state) {
        party.ADOTable1.close();
        const auto before = mallinfo2().uordblks;
        party.ADOTable1.open();
        perRecord = static_cast<double>(mallinfo2().uordblks - before) / 10000;
    }
    state.counters["bytes_per_record"] = perRecord;
}
BENCHMARK(Store_RosterSnapshotMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

// ---- 1,000 committed edits of one field

void PlainSQLite_UpdateLoop(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 10);
    sqlite3* db = openPlain(file);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "UPDATE Table1 SET CurHP = ?1 WHERE rowid = 1", -1, &stmt, nullptr);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            sqlite3_bind_int(stmt, 1, i);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(PlainSQLite_UpdateLoop)->Iterations(3)->Unit(benchmark::kMillisecond);

void Store_EditPostLoop(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 10);
    store::PartyStore party;
    connect(file, party);
    party.ADOTable1.open();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            party.ADOTable1.edit();
            party.ADOTable1.fieldByName("CurHP").setAsInteger(i);
            party.ADOTable1.post();
        }
    }
}
BENCHMARK(Store_EditPostLoop)->Iterations(3)->Unit(benchmark::kMillisecond);

// ---- 1,000 executions of the NPC insert

const char* const npcInsert =
    "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
    "   VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, :PC );";

void PlainSQLite_InsertLoop(benchmark::State& state)
{
    PartyFile file;
    sqlite3* db = openPlain(file);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, npcInsert, -1, &stmt, nullptr);
    for (auto _ : state) {
        for (int i = 1; i <= 1000; ++i) {
            const std::string name = "Orc." + std::to_string(i);
            sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            for (int p = 2; p <= 8; ++p)
                sqlite3_bind_int(stmt, p, 12);
            sqlite3_bind_int(stmt, 9, 0);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(PlainSQLite_InsertLoop)->Iterations(3)->Unit(benchmark::kMillisecond);

void Store_NpcInsertStatement(benchmark::State& state)
{
    PartyFile file;
    store::PartyStore party;
    connect(file, party);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(npcInsert);
    insert.setPrepared(true);
    for (auto _ : state) {
        for (int i = 1; i <= 1000; ++i) {
            insert.paramByName("Name").setValue("Orc." + std::to_string(i));
            for (const char* p : {"TotalHP", "CurHP", "Initiative", "AC", "Ref", "Fort", "Will"})
                insert.paramByName(p).setValue(store::Value(12));
            insert.paramByName("PC").setValue(false);
            insert.execute();
        }
    }
}
BENCHMARK(Store_NpcInsertStatement)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
