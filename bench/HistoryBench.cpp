// The history's costs on a party of 1,000 characters: one post recorded as a step beside the
// same post with nothing recorded, the group extended rest likewise, its undo beside the rest
// itself, and the memory 10,000 steps take.

#include "actions/GroupActions.h"
#include "actions/Rests.h"
#include "store/History.h"
#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <string>

namespace {

constexpr int partySize = 1000;

void fillParty(const testing_support::PartyFile& file)
{
    file.sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(partySize) +
             ") INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, APoints, Milestone, UsedEnc, "
             "UsedDaily, HealingSurgesUsed, Stunned, UsedSecondWind, PC) "
             "SELECT 'PC' || i, 40, 12, 3, 0, 2, 2, 1, 3, 1, 1, 1 FROM n");
}

// One damage post on the current character; recorded as a step when asked.
void damagePosts(benchmark::State& state, bool recorded)
{
    testing_support::PartyFile file;
    fillParty(file);
    store::PartyStore party;
    file.open(party);
    if (!recorded) party.history.detach();
    store::Dataset& roster = party.ADOTable1;
    std::int32_t hp = 0;
    for (auto _ : state) {
        auto post = [&] {
            roster.edit();
            roster.fieldByName("CurHP").setAsInteger(++hp % 40);
            roster.post();
        };
        if (recorded) {
            const store::HistoryStep step(party.history, "Damage on PC1");
            post();
        }
        else
            post();
    }
    state.counters["steps"] = static_cast<double>(party.history.steps().size());
}
void BM_DamagePostRecorded(benchmark::State& state)
{
    damagePosts(state, true);
}
void BM_DamagePostUnrecorded(benchmark::State& state)
{
    damagePosts(state, false);
}
BENCHMARK(BM_DamagePostUnrecorded)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DamagePostRecorded)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The group extended rest, recorded as one step or not at all; then the step undone.
void groupRest(benchmark::State& state, bool recorded)
{
    for (auto _ : state) {
        state.PauseTiming();
        testing_support::PartyFile file;
        fillParty(file);
        store::PartyStore party;
        file.open(party);
        if (!recorded) party.history.detach();
        state.ResumeTiming();
        const store::HistoryStep step(party.history, "Group Extended Rest");
        if (!recorded) party.history.detach();
        actions::forEachPlayerCharacter(party.ADOTable1,
                                        [&] { actions::takeExtendedRest(party.ADOTable1); });
    }
}
void BM_GroupExtendedRestRecorded(benchmark::State& state)
{
    groupRest(state, true);
}
void BM_GroupExtendedRestUnrecorded(benchmark::State& state)
{
    groupRest(state, false);
}
BENCHMARK(BM_GroupExtendedRestUnrecorded)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GroupExtendedRestRecorded)->Unit(benchmark::kMillisecond)->Iterations(3);

// The undo of that step, with the roster read again as the window does after it.
void BM_UndoGroupExtendedRest(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        testing_support::PartyFile file;
        fillParty(file);
        store::PartyStore party;
        file.open(party);
        {
            const store::HistoryStep step(party.history, "Group Extended Rest");
            actions::forEachPlayerCharacter(party.ADOTable1,
                                            [&] { actions::takeExtendedRest(party.ADOTable1); });
        }
        state.ResumeTiming();
        party.history.undo();
        party.ADOTable1.reopen();
        party.ADOTable2.reopen();
    }
}
BENCHMARK(BM_UndoGroupExtendedRest)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10,000 steps, each damage and temporary hit points on one of the 1,000 characters: the
// memory the history holds, as it counts it and as the allocator sees it.
void BM_HistoryMemory10000Steps(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        testing_support::PartyFile file;
        fillParty(file);
        store::PartyStore party;
        file.open(party);
        store::Dataset& roster = party.ADOTable1;
        const std::size_t heapBefore = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            roster.moveTo(i % partySize);
            const store::HistoryStep step(party.history, "Damage 1 on PC" + std::to_string(i));
            roster.edit();
            roster.fieldByName("CurHP").setAsInteger(i % 37);
            roster.fieldByName("TempHP").setAsInteger(i % 5);
            roster.post();
        }
        state.PauseTiming();
        state.counters["steps"] = static_cast<double>(party.history.steps().size());
        state.counters["history_MB"] = static_cast<double>(party.history.bytes()) / 1e6;
        state.counters["heap_growth_MB"] =
            static_cast<double>(mallinfo2().uordblks - heapBefore) / 1e6;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryMemory10000Steps)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
