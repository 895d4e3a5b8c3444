// The main window's costs: starting on a 1,000-record roster, one Apply from click to repaint,
// the group extended rest with the window following every move beside the same walk on the
// bare store, and "Add NPC" of 1,000 beside a plain prepared-insert loop.
#include "actions/GroupActions.h"
#include "actions/Rests.h"
#include "forms/Unit1.h"
#include "store/Connection.h"
#include "tests/support/PartyFixture.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "ui/ModalDialogs.h"
#include "ui/SpinEdit.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace {

using testing_support::PartyFile;

void fillRoster(const PartyFile& file, int records)
{
    file.sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(records) +
             ") INSERT INTO Table1 (Name, TotalHP, CurHP, Initiative, PC, cp, gp, Stunned) "
             "SELECT 'Character ' || i, 40, i % 40, i % 20, 1, i, i * 2, 1 FROM n;"
             "INSERT INTO Inventory (Name, Item, Weight) SELECT Name, 'Rope', 2 FROM Table1");
}

QString executableIn(const PartyFile& file)
{
    return QString::fromStdString((file.folder() / "Tavrix").string());
}

void Window_FormCreate1000(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 1000);
    for (auto _ : state) {
        TForm1 window(nullptr, executableIn(file));
        window.show();
        benchmark::DoNotOptimize(window.grab()); // the first paint, grid included
    }
}
BENCHMARK(Window_FormCreate1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void Window_ApplyClickToRepaint(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 1000);
    TForm1 window(nullptr, executableIn(file));
    window.show();
    auto* damage = window.findChild<QLineEdit*>("Edit1");
    auto* apply = window.findChild<QPushButton*>("Button5");
    for (auto _ : state) {
        damage->setText(QStringLiteral("1"));
        QTest::mouseClick(apply, Qt::LeftButton);
        window.repaint();
    }
}
BENCHMARK(Window_ApplyClickToRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void Bare_GroupExtendedRest1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        PartyFile file;
        fillRoster(file, 1000);
        store::PartyStore party;
        file.open(party);
        state.ResumeTiming();
        actions::forEachPlayerCharacter(party.ADOTable1,
                                        [&] { actions::takeExtendedRest(party.ADOTable1); });
    }
}
BENCHMARK(Bare_GroupExtendedRest1000)->Unit(benchmark::kMillisecond)->Iterations(2);

void Window_GroupExtendedRest1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        PartyFile file;
        fillRoster(file, 1000);
        TForm1 window(nullptr, executableIn(file));
        window.show();
        state.ResumeTiming();
        window.Button17Click();
        window.repaint();
    }
}
BENCHMARK(Window_GroupExtendedRest1000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The undo of one Apply from the key to the repaint, the datasets read again, beside the Apply
// itself above.
void Window_UndoApplyClickToRepaint(benchmark::State& state)
{
    PartyFile file;
    fillRoster(file, 1000);
    TForm1 window(nullptr, executableIn(file));
    window.show();
    auto* damage = window.findChild<QLineEdit*>("Edit1");
    auto* apply = window.findChild<QPushButton*>("Button5");
    for (auto _ : state) {
        state.PauseTiming();
        damage->setText(QStringLiteral("1"));
        QTest::mouseClick(apply, Qt::LeftButton);
        window.repaint();
        state.ResumeTiming();
        window.UndoClick();
        window.repaint();
    }
}
BENCHMARK(Window_UndoApplyClickToRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The undo of the group extended rest over 1,000 characters, beside the rest itself above.
void Window_UndoGroupExtendedRest1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        PartyFile file;
        fillRoster(file, 1000);
        TForm1 window(nullptr, executableIn(file));
        window.show();
        window.findChild<QAbstractButton*>("Button17")->click();
        window.repaint();
        state.ResumeTiming();
        window.UndoClick();
        window.repaint();
    }
}
BENCHMARK(Window_UndoGroupExtendedRest1000)->Unit(benchmark::kMillisecond)->Iterations(2);

// "Add NPC" from the click to the reopened roster: the dialog set to 1,000 Goblins and OK
// pressed, each NPC inserted and committed by itself, then the roster read again.
void Window_AddNpc1000(benchmark::State& state)
{
    ui::installModalRunner([](QDialog& d) {
        d.show();
        d.findChild<QLineEdit*>("Edit1")->setText(QStringLiteral("Goblin"));
        d.findChild<QLineEdit*>("Edit3")->setText(QStringLiteral("25"));
        d.findChild<ui::SpinEdit*>("SpinEdit1")->setValue(1000);
        d.findChild<QPushButton*>("Button1")->click();
        return d.result();
    });
    for (auto _ : state) {
        state.PauseTiming();
        PartyFile file;
        fillRoster(file, 10);
        TForm1 window(nullptr, executableIn(file));
        window.show();
        state.ResumeTiming();
        window.Button13Click();
        window.repaint();
        state.PauseTiming();
        if (window.ADOTable1.recordCount() != 1010) state.SkipWithError("the batch is incomplete");
        state.ResumeTiming();
    }
    ui::installModalRunner({});
}
BENCHMARK(Window_AddNpc1000)->Unit(benchmark::kMillisecond)->Iterations(3);

void check(sqlite3* db, int rc, int wanted = SQLITE_OK)
{
    if (rc != wanted) throw std::runtime_error(sqlite3_errmsg(db));
}

// The same 1,000 inserts on a file set up the same way, with the bare SQLite API: one prepared
// statement, each run committed by itself under the program's own journal settings.
void Plain_NpcInsertLoop1000(benchmark::State& state)
{
    const char* const insert =
        "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC ) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    for (auto _ : state) {
        state.PauseTiming();
        PartyFile file;
        fillRoster(file, 10);
        sqlite3* db = nullptr;
        check(db, sqlite3_open_v2(file.path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
        sqlite3_busy_timeout(db, store::Connection::busyTimeoutMs);
        check(db, sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr));
        state.ResumeTiming();
        sqlite3_stmt* stmt = nullptr;
        check(db, sqlite3_prepare_v2(db, insert, -1, &stmt, nullptr));
        for (int n = 1; n <= 1000; ++n) {
            const std::string name = "Goblin." + std::to_string(n);
            sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()),
                              SQLITE_TRANSIENT);
            for (int column = 2; column <= 8; ++column)
                sqlite3_bind_int(stmt, column, column == 2 || column == 3 ? 25 : 0);
            sqlite3_bind_int(stmt, 9, 0);
            check(db, sqlite3_step(stmt), SQLITE_DONE);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
}
BENCHMARK(Plain_NpcInsertLoop1000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing_support::ScriptedMessageBoxes boxes;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
