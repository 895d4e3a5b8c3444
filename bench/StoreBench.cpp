// The store's costs, each measured beside plain SQLite doing the same work on an identical
// party file in the same run. The store's side and the plain side run alternately inside one
// benchmark (the commit-bound ones in alternating blocks of 50 items), so both see the same
// machine and disk load. The reported time is the store's; the counters give both sides:
//   store_ms / plain_ms           time of one whole piece of work (one open, 1,000 posts, ...)
//   store_us / plain_us           the same per item (per record read, per post, per insert)
//   ratio                         store time over plain time, summed over all iterations
//   store_cpu_us / plain_cpu_us   processor time per item of each side
#include "store/Dataset.h"
#include "store/PartyStore.h"
#include "store/Statement.h"
#include "store/Transaction.h"
#include "tests/support/PartyFixture.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <time.h>

namespace {

using store::PartyStore;
using store::Value;
using testing_support::PartyFile;

constexpr int rosterSize = 10000;
constexpr int firstScreen = 20; // the rows a roster grid shows at once
constexpr int cycles = 1000;    // posts or inserts per measured piece of work

// The two-line insert the character dialog runs for a new monster.
const char* const npcInsert =
    "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
    "   VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, :PC );";

// Every column of Table1, in the table's order.
const char* const rosterSelect =
    "SELECT ID, Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, Will, APoints, "
    "Blinded, Dazed, Dominated, Dying, Helpless, Immobilized, Marked, Petrified, Prone, "
    "Restrained, Slowed, Stunned, Surprised, Unconscious, Weakened, HealingSurgesUsed, "
    "cp, sp, gp, pp, ad, Milestone, UsedMilestone, UsedAPoints, PC, UsedEnc, UsedDaily, "
    "UsedDailyItem, UsedSecondWind FROM Table1 ORDER BY rowid";
constexpr int nameColumn = 1, initiativeColumn = 5;

// Rows that look like an encounter's: varied names and numbers, a few conditions set, some
// fractional initiatives, coins on some.
void fillRoster(const PartyFile& file, int count)
{
    file.sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(count) +
             ")\n"
             "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, "
             "Will, APoints, Blinded, Dazed, Dying, Marked, Prone, Slowed, Weakened, "
             "HealingSurgesUsed, cp, sp, gp, pp, ad, Milestone, UsedMilestone, UsedAPoints, "
             "PC, UsedEnc, UsedDaily)\n"
             "SELECT 'Goblin skirmisher ' || i, 20 + i % 40, 10 + i % 30, i % 5, "
             "(i % 20) + (i % 4) * 0.25, 14 + i % 8, 12 + i % 5, 13 + i % 6, 11 + i % 4, "
             "i % 3, i % 17 = 0, i % 11 = 0, i % 23 = 0, i % 5 = 0, i % 7 = 0, i % 13 = 0, "
             "i % 19 = 0, i % 4, i % 100, i % 50, i % 200, i % 3, i % 2, i % 4, i % 3, "
             "i % 2, i % 9 = 0, i % 3, i % 2 FROM n");
}

// A party file of rosterSize records, made once for the whole run.
const PartyFile& bigRoster()
{
    static const PartyFile file;
    [[maybe_unused]] static const bool filled = (fillRoster(file, rosterSize), true);
    return file;
}

using Clock = std::chrono::steady_clock;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Spent {
    double wall = 0, cpu = 0;
};

template <class F> Spent timeOf(F&& work)
{
    const double cpuStart = threadCpuSeconds();
    const auto start = Clock::now();
    work();
    return {std::chrono::duration<double>(Clock::now() - start).count(),
            threadCpuSeconds() - cpuStart};
}

void check(sqlite3* db, int rc, int expected = SQLITE_OK)
{
    if (rc != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

// A plain connection set up as the store sets up its own: rollback journal, synchronous EXTRA,
// the same busy timeout.
struct PlainDb {
    sqlite3* db = nullptr;
    explicit PlainDb(const std::string& path)
    {
        check(db, sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
        sqlite3_busy_timeout(db, store::Connection::busyTimeoutMs);
        sqlite3_stmt* stmt = nullptr;
        check(db, sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr));
        check(db, sqlite3_step(stmt), SQLITE_ROW);
        const std::string mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
        if (mode != "delete") throw std::runtime_error("the party file has no rollback journal");
        check(db, sqlite3_exec(db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr));
    }
    ~PlainDb() { sqlite3_close(db); }
    PlainDb(const PlainDb&) = delete;
    PlainDb& operator=(const PlainDb&) = delete;
};

struct Pair {
    double store = 0, plain = 0;
    double storeCpu = 0, plainCpu = 0;

    // Runs both sides once, the first one alternating between iterations; gives the store's
    // wall time of this run.
    template <class S, class P> double run(int iteration, S&& storeSide, P&& plainSide)
    {
        Spent s, p;
        if (iteration % 2 == 0) {
            s = timeOf(storeSide);
            p = timeOf(plainSide);
        }
        else {
            p = timeOf(plainSide);
            s = timeOf(storeSide);
        }
        store += s.wall;
        plain += p.wall;
        storeCpu += s.cpu;
        plainCpu += p.cpu;
        return s.wall;
    }

    // The same for work of many items, handed out in blocks that alternate between the sides,
    // so that both meet the same state of a shared disk whose commit time drifts widely within
    // seconds. Each side is called as side(first, end) for the items [first, end).
    template <class S, class P>
    double runInterleaved(int iteration, int items, S&& storeSide, P&& plainSide)
    {
        constexpr int block = 50;
        double s = 0;
        for (int first = 0; first < items; first += block) {
            const int end = std::min(items, first + block);
            s += run(
                iteration + first / block, [&] { storeSide(first, end); },
                [&] { plainSide(first, end); });
        }
        return s;
    }

    void report(benchmark::State& state, double itemsPerRun) const
    {
        const double runs = static_cast<double>(state.iterations());
        state.counters["store_ms"] = store / runs * 1e3;
        state.counters["plain_ms"] = plain / runs * 1e3;
        state.counters["store_us"] = store / runs / itemsPerRun * 1e6;
        state.counters["plain_us"] = plain / runs / itemsPerRun * 1e6;
        state.counters["ratio"] = store / plain;
        // The processor time of each side: what the store adds on top of the engine, which
        // the wait for the disk hides in the wall times of committed writes.
        state.counters["store_cpu_us"] = storeCpu / runs / itemsPerRun * 1e6;
        state.counters["plain_cpu_us"] = plainCpu / runs / itemsPerRun * 1e6;
    }
};

// The derived fields a grid reads when it first paints the roster.
std::size_t readFirstScreen(store::Dataset& roster)
{
    std::size_t total = 0;
    const int rows = std::min(firstScreen, roster.displayCount());
    for (int row = 0; row < rows; ++row)
        roster.withRecord(row, [&] {
            for (const char* name : {"HP", "Effects", "AP", "MS"})
                total += roster.fieldByName(name).displayText().size();
        });
    return total;
}

// Every roster column of every row, each fetched as its type.
std::int64_t plainReadRoster(const std::string& path)
{
    sqlite3* db = nullptr;
    check(db, sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
    sqlite3_stmt* stmt = nullptr;
    check(db, sqlite3_prepare_v2(db, rosterSelect, -1, &stmt, nullptr));
    const int columns = sqlite3_column_count(stmt);
    std::int64_t sum = 0;
    double fractions = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (c == nameColumn) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                sum += sqlite3_column_bytes(stmt, c) + (text ? text[0] : 0);
            }
            else if (c == initiativeColumn) {
                fractions += sqlite3_column_double(stmt, c);
            }
            else {
                sum += sqlite3_column_int(stmt, c);
            }
        }
    }
    check(db, rc, SQLITE_DONE);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return sum + static_cast<std::int64_t>(fractions);
}

// ---------------------------------------------------------------- opening the roster

// The store: connect and open the four datasets as the main window does, then read the derived
// fields (HP, Effects, AP, MS) of the first screen of rows, which computes them. The plain
// side: open the file, step through every row reading every column. Closing is not timed.
void OpenRoster10000(benchmark::State& state)
{
    const PartyFile& file = bigRoster();
    Pair pair;
    int iteration = 0;
    for ([[maybe_unused]] auto _ : state) {
        auto party = std::make_unique<PartyStore>();
        const double storeSeconds = pair.run(
            iteration++,
            [&] {
                file.open(*party);
                benchmark::DoNotOptimize(readFirstScreen(party->ADOTable1));
            },
            [&] { benchmark::DoNotOptimize(plainReadRoster(file.path())); });
        if (party->ADOTable1.recordCount() != rosterSize)
            state.SkipWithError("the roster did not read every record");
        state.SetIterationTime(storeSeconds);
        party.reset();
    }
    pair.report(state, rosterSize);
}

// The same, with the roster dataset alone (no coin sums, inventory or weight): how much of
// the open is the roster's own reading.
void OpenRosterAlone10000(benchmark::State& state)
{
    const PartyFile& file = bigRoster();
    Pair pair;
    int iteration = 0;
    for ([[maybe_unused]] auto _ : state) {
        auto party = std::make_unique<PartyStore>();
        const double storeSeconds = pair.run(
            iteration++,
            [&] {
                party->ADOConnection1.setConnectionString(file.connectionString());
                party->ADOConnection1.setConnected(true);
                party->ADOTable1.open();
                benchmark::DoNotOptimize(readFirstScreen(party->ADOTable1));
            },
            [&] { benchmark::DoNotOptimize(plainReadRoster(file.path())); });
        state.SetIterationTime(storeSeconds);
        party.reset();
    }
    pair.report(state, rosterSize);
}

// ---------------------------------------------------------------- memory of the snapshot

// Heap growth of opening the 10,000-record roster (all four datasets, first screen's derived
// fields read), per record. heap_B_per_record is everything malloc handed out and still holds
// while the store is open; sqlite_B_per_record is the part SQLite itself holds (its page
// cache and prepared statements), so rows_B_per_record is the store's own snapshot.
void RosterMemory10000(benchmark::State& state)
{
    const PartyFile& file = bigRoster();
    double heap = 0, engine = 0;
    for ([[maybe_unused]] auto _ : state) {
        auto party = std::make_unique<PartyStore>();
        const auto heapBefore = mallinfo2().uordblks;
        const auto engineBefore = sqlite3_memory_used();
        file.open(*party);
        benchmark::DoNotOptimize(readFirstScreen(party->ADOTable1));
        heap += static_cast<double>(mallinfo2().uordblks) - static_cast<double>(heapBefore);
        engine += static_cast<double>(sqlite3_memory_used() - engineBefore);
        party.reset();
    }
    const double perRecord = static_cast<double>(state.iterations()) * rosterSize;
    state.counters["heap_B_per_record"] = heap / perRecord;
    state.counters["sqlite_B_per_record"] = engine / perRecord;
    state.counters["rows_B_per_record"] = (heap - engine) / perRecord;
    state.counters["record_B_goal"] = 2048;
}

// ---------------------------------------------------------------- posting one field

// 1,000 edit/post cycles of the current record's CurHP, each a different value and each
// committed, beside 1,000 committed single-row UPDATEs on an identical file.
void PostCurHP1000(benchmark::State& state)
{
    PartyFile storeFile, plainFile;
    fillRoster(storeFile, 100);
    fillRoster(plainFile, 100);
    PartyStore party;
    storeFile.open(party);
    store::Dataset& roster = party.ADOTable1;
    const int curHP = *roster.findField("CurHP");
    PlainDb plain(plainFile.path());
    sqlite3_stmt* update = nullptr;
    check(plain.db, sqlite3_prepare_v2(plain.db, "UPDATE Table1 SET CurHP = ?1 WHERE rowid = ?2",
                                       -1, &update, nullptr));

    std::int32_t value = 1000;
    Pair pair;
    int iteration = 0;
    for ([[maybe_unused]] auto _ : state) {
        const std::int32_t start = value;
        const double storeSeconds = pair.runInterleaved(
            iteration++, cycles,
            [&](int first, int end) {
                for (int i = first; i < end; ++i) {
                    roster.edit();
                    roster.field(curHP).setAsInteger(start + i);
                    roster.post();
                }
            },
            [&](int first, int end) {
                for (int i = first; i < end; ++i) {
                    sqlite3_bind_int(update, 1, start + i);
                    sqlite3_bind_int64(update, 2, 1);
                    check(plain.db, sqlite3_step(update), SQLITE_DONE);
                    sqlite3_reset(update);
                }
            });
        value += cycles;
        state.SetIterationTime(storeSeconds);
    }
    sqlite3_finalize(update);
    if (storeFile.scalar("SELECT CurHP FROM Table1 WHERE rowid = 1") != std::to_string(value - 1))
        state.SkipWithError("the last post is not in the file");
    pair.report(state, cycles);
}

// ---------------------------------------------------------------- the monster insert

// Add NPC of 1,000: the batch dialog's insert, prepared once, run in one step with a savepoint
// per insert, beside a plain prepared INSERT of the same text run in one transaction on an
// identical file (in blocks of 50, each block one batch on both sides). Goal: within 2x.
void InsertNpc1000(benchmark::State& state)
{
    PartyFile storeFile, plainFile;
    PartyStore party;
    storeFile.open(party);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(npcInsert);
    insert.setPrepared(true);
    PlainDb plain(plainFile.path());
    sqlite3_stmt* stmt = nullptr;
    check(plain.db, sqlite3_prepare_v2(plain.db, npcInsert, -1, &stmt, nullptr));

    int serial = 0;
    Pair pair;
    int iteration = 0;
    for ([[maybe_unused]] auto _ : state) {
        const int start = serial;
        const double storeSeconds = pair.runInterleaved(
            iteration++, cycles,
            [&](int first, int end) {
                // One batch of the dialog: one step, each insert a savepoint of it.
                store::runStep(
                    party.ADOConnection1,
                    [&] {
                        for (int n = start + first; n < start + end; ++n) {
                            insert.paramByName("Name").setValue("Goblin." + std::to_string(n));
                            insert.paramByName("TotalHP").setValue(Value(20 + n % 40));
                            insert.paramByName("CurHP").setValue(Value(20 + n % 40));
                            insert.paramByName("Initiative").setValue(Value(n % 20));
                            insert.paramByName("AC").setValue(Value(14 + n % 8));
                            insert.paramByName("Ref").setValue(Value(12 + n % 5));
                            insert.paramByName("Fort").setValue(Value(13 + n % 6));
                            insert.paramByName("Will").setValue(Value(11 + n % 4));
                            insert.paramByName("PC").setValue(false);
                            insert.execute();
                        }
                    },
                    [] {});
            },
            [&](int first, int end) {
                check(plain.db, sqlite3_exec(plain.db, "BEGIN", nullptr, nullptr, nullptr));
                for (int n = start + first; n < start + end; ++n) {
                    const std::string name = "Goblin." + std::to_string(n);
                    sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()),
                                      SQLITE_TRANSIENT);
                    sqlite3_bind_int(stmt, 2, 20 + n % 40);
                    sqlite3_bind_int(stmt, 3, 20 + n % 40);
                    sqlite3_bind_int(stmt, 4, n % 20);
                    sqlite3_bind_int(stmt, 5, 14 + n % 8);
                    sqlite3_bind_int(stmt, 6, 12 + n % 5);
                    sqlite3_bind_int(stmt, 7, 13 + n % 6);
                    sqlite3_bind_int(stmt, 8, 11 + n % 4);
                    sqlite3_bind_int(stmt, 9, 0);
                    check(plain.db, sqlite3_step(stmt), SQLITE_DONE);
                    sqlite3_reset(stmt);
                }
                check(plain.db, sqlite3_exec(plain.db, "COMMIT", nullptr, nullptr, nullptr));
            });
        serial += cycles;
        state.SetIterationTime(storeSeconds);
    }
    sqlite3_finalize(stmt);
    if (storeFile.scalar("SELECT count(*) FROM Table1") != std::to_string(serial) ||
        plainFile.scalar("SELECT count(*) FROM Table1") != std::to_string(serial))
        state.SkipWithError("an insert is missing from a file");
    pair.report(state, cycles);
}

} // namespace

BENCHMARK(OpenRoster10000)
    ->Name("Store/OpenRoster10000")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK(OpenRosterAlone10000)
    ->Name("Store/OpenRosterAlone10000")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK(RosterMemory10000)
    ->Name("Store/RosterMemory10000")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(PostCurHP1000)
    ->Name("Store/PostCurHP1000")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(InsertNpc1000)
    ->Name("Store/InsertNpc1000")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
