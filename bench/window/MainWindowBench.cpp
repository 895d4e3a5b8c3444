// The main window's costs: starting on a 1,000-record roster, one Apply from click to repaint,
// and the group extended rest with the window following every move beside the same walk on
// the bare store.
#include "actions/GroupActions.h"
#include "actions/Rests.h"
#include "forms/Unit1.h"
#include "tests/support/PartyFixture.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

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
