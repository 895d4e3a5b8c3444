// The main window's history: one step per action of the master, undone with Ctrl+Z and the
// roster's context menu, redone with Ctrl+Y and Ctrl+Shift+Z, refused when another program
// changed what the step left, and the datasets read again afterwards.
#include "forms/EncounterLog.h"
#include "forms/Unit1.h"
#include "store/History.h"
#include "tests/forms/MainWindowFixture.h"
#include "tests/support/RealMessageBoxes.h"
#include "ui/DBCheckBox.h"
#include "ui/ModalDialogs.h"
#include "ui/SpinEdit.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace {

// The cases' actions take the fixture, so what they use of it is public.
class MainWindowHistory : public testing_support::MainWindow {
public:
    using MainWindow::click;
    using MainWindow::control;
    using MainWindow::selectRow;
    using MainWindow::type;
    using MainWindow::window;

    void SetUp() override
    {
        MainWindow::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override { ui::installModalRunner({}); }

    void inNextDialog(std::function<void(QDialog&)> steps)
    {
        ui::installModalRunner([steps = std::move(steps)](QDialog& d) {
            d.show();
            steps(d);
            return d.result();
        });
    }
    // A key pressed where the focus is, as the master presses it.
    void keys(int key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), static_cast<Qt::Key>(key), modifiers);
    }
    void onGrid() { control("DBGridEh1")->setFocus(); }
    void undoKey() { keys(Qt::Key_Z, Qt::ControlModifier); }
    void redoKey() { keys(Qt::Key_Y, Qt::ControlModifier); }
    void redoShiftKey() { keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
    ui::DBCheckBox* condition(const QString& name)
    {
        for (auto* box : window->findChildren<ui::DBCheckBox*>())
            if (box->text() == name) return box;
        ADD_FAILURE() << name.toStdString();
        return nullptr;
    }
    store::History& history() { return window->party.history; }
    std::string lastStep() const
    {
        const auto& steps = window->party.history.steps();
        return steps.empty() ? std::string() : steps.back().text;
    }
    std::string current() { return window->ADOTable1.fieldByName("Name").value().toString(); }
};

// Each kind of step, made through the window, is undone with Ctrl+Z and redone with Ctrl+Y and
// with Ctrl+Shift+Z, and the file holds exactly what it held before and after the step.
TEST_F(MainWindowHistory, EachKindOfStepIsUndoneAndRedoneFromTheKeyboard)
{
    struct Case {
        const char* label;
        std::function<void(MainWindowHistory&)> act;
        const char* text;
    };
    const Case cases[] = {
        {"damage",
         [](MainWindowHistory& t) {
             t.type("Edit1", "7");
             t.click("Button5");
         },
         "Damage 7 on Aldric: HP 30 → 23"},
        {"damage by Enter",
         [](MainWindowHistory& t) {
             t.selectRow(1);
             t.type("Edit1", "3");
             QTest::keyClick(t.control("Edit1"), Qt::Key_Return);
         },
         "Damage 3 on Brynn: temporary 5 → 2"},
        {"surge", [](MainWindowHistory& t) { t.click("Button7"); },
         "Spend healing surges on Brynn: surges used 0 → 1"},
        {"counter", [](MainWindowHistory& t) { t.click("RbButton3"); },
         "Add MS on Brynn: action points 0 → 1, milestones 0 → 1"},
        {"group rest", [](MainWindowHistory& t) { t.click("Button17"); },
         "Group Extended Rest: 2 characters"},
        {"money",
         [](MainWindowHistory& t) {
             t.selectRow(0);
             t.type("Edit6", "5");
             t.click("Button8");
         },
         "Money on Aldric: gp 5 → 10"},
        {"condition",
         [](MainWindowHistory& t) {
             QTest::mouseClick(t.condition("Prone"), Qt::LeftButton);
             t.selectRow(1); // leaving the record posts it
         },
         "Conditions on Aldric: Prone no → yes"},
        {"add item",
         [](MainWindowHistory& t) {
             t.selectRow(0);
             t.inNextDialog([](QDialog& d) {
                 typeIn(d, "DBEditEh1", "Rope");
                 press(d, "Button1");
             });
             t.click("Button2");
         },
         "Add Item to Aldric: Rope added"},
        {"delete item",
         [](MainWindowHistory& t) {
             t.window->ADOTable3.first();
             t.click("Button10");
         },
         "Delete Item Sword: Sword deleted"},
        {"delete char",
         [](MainWindowHistory& t) {
             t.selectRow(2);
             t.click("Button9");
         },
         "Delete Goblin.1: Goblin.1 deleted"},
        {"add char",
         [](MainWindowHistory& t) {
             t.inNextDialog([](QDialog& d) {
                 typeIn(d, "Edit1", "Cael");
                 typeIn(d, "Edit3", "22");
                 press(d, "Button1");
             });
             t.click("Button1");
         },
         "Add Char: Cael added"},
        {"edit char",
         [](MainWindowHistory& t) {
             t.selectRow(0);
             t.inNextDialog([](QDialog& d) {
                 typeIn(d, "Edit3", "45");
                 press(d, "Button1");
             });
             t.click("Button3");
         },
         "Edit Aldric: total HP 40 → 45, HP 40 → 45"},
        {"npc batch",
         [](MainWindowHistory& t) {
             t.inNextDialog([](QDialog& d) {
                 typeIn(d, "Edit1", "Orc");
                 typeIn(d, "Edit3", "15");
                 auto* spin = d.findChild<ui::SpinEdit*>("SpinEdit1");
                 spin->setFocus();
                 spin->selectAll();
                 QTest::keyClicks(spin, "3");
                 press(d, "Button1");
             });
             t.click("Button13");
         },
         "Add NPC: 3 characters added"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t steps = history().steps().size();
        const std::string before = file.contents();
        c.act(*this);
        const std::string after = file.contents();
        ASSERT_NE(before, after);
        EXPECT_EQ(history().steps().size(), steps + 1);
        EXPECT_EQ(lastStep(), c.text);

        onGrid();
        undoKey();
        EXPECT_EQ(file.contents(), before);
        redoKey();
        EXPECT_EQ(file.contents(), after);
        undoKey();
        EXPECT_EQ(file.contents(), before);
        redoShiftKey();
        EXPECT_EQ(file.contents(), after);
        EXPECT_EQ(history().steps().size(), steps + 1);
    }
    // The only boxes were the two deletes' questions.
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Delete Sword?", "Delete Goblin.1?"}));
}

// After an undo the roster, the sums, the items and the weight are read again, and the current
// character stays current.
TEST_F(MainWindowHistory, TheWindowShowsTheUndoneStateAndKeepsTheCurrentCharacter)
{
    selectRow(1);
    type("Edit8", "0");
    type("Edit6", "7");
    click("Button8");
    EXPECT_EQ(control<QLabel>("DBText9")->text(), "12");
    window->ADOTable1.setSort("Initiative DESC");
    onGrid();
    undoKey();
    EXPECT_EQ(current(), "Brynn");
    EXPECT_EQ(window->ADOTable1.fieldByName("gp").asInteger(), 0);
    EXPECT_EQ(control<QLabel>("DBText9")->text(), "5");
    EXPECT_EQ(window->ADOTable1.sort(), "Initiative DESC");

    // An item deleted and brought back shows in the inventory and the weight again.
    selectRow(window->ADOTable1.recordCount() - 1); // Aldric, lowest initiative
    ASSERT_EQ(current(), "Aldric");
    window->ADOTable3.first();
    click("Button10");
    EXPECT_EQ(window->ADOTable3.recordCount(), 1);
    undoKey();
    EXPECT_EQ(window->ADOTable3.recordCount(), 2);
    EXPECT_EQ(control<QLabel>("DBText13")->text().toStdString().substr(0, 2), "10");

    // A character whose adding is undone is gone; the first record becomes current.
    inNextDialog([](QDialog& d) {
        typeIn(d, "Edit1", "Cael");
        press(d, "Button1");
    });
    click("Button1");
    onGrid();
    undoKey();
    EXPECT_EQ(window->ADOTable1.recordCount(), 3);
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1 WHERE Name = 'Cael'"), "0");
}

// Ctrl+Z in an edit takes back what was typed; the history is left alone.
TEST_F(MainWindowHistory, CtrlZInAnEditUndoesTheTyping)
{
    type("Edit1", "7");
    click("Button5");
    const std::string after = file.contents();
    auto* edit = control<QLineEdit>("Edit2");
    edit->setFocus();
    QTest::keyClicks(edit, "12");
    ASSERT_EQ(edit->text(), "12");
    undoKey();
    EXPECT_NE(edit->text(), "12");
    EXPECT_EQ(file.contents(), after);
    EXPECT_FALSE(history().steps().back().undone);
    // Out of the edit, the same keys undo the step.
    onGrid();
    undoKey();
    EXPECT_EQ(row("CurHP", "Aldric"), "30");
}

// Another program changed the damaged character: the undo is refused by name, in the error
// box, and the file keeps the other program's change.
TEST_F(MainWindowHistory, AnUndoRefusedByAnotherProgramSaysSoAndWritesNothing)
{
    type("Edit1", "7");
    click("Button5");
    file.sql("UPDATE Table1 SET CurHP = 1 WHERE Name = 'Aldric'");
    const std::string changed = file.contents();
    onGrid();
    undoKey();
    EXPECT_EQ(
        boxes.texts(),
        std::vector<QString>{"Aldric was changed by another program since; nothing was undone."});
    EXPECT_EQ(file.contents(), changed);
    EXPECT_TRUE(history().canUndo());
    EXPECT_FALSE(history().canRedo());
}

// The same refusal in a real message box, which takes the focus and shows the whole text.
TEST_F(MainWindowHistory, TheRefusalShowsInARealMessageBox)
{
    type("Edit1", "7");
    click("Button5");
    file.sql("UPDATE Table1 SET CurHP = 9 WHERE Name = 'Aldric'");
    testing_support::RealMessageBoxes real;
    onGrid();
    undoKey();
    ASSERT_EQ(real.shown.size(), 1u);
    EXPECT_EQ(real.shown[0].text,
              "Aldric was changed by another program since; nothing was undone.");
    EXPECT_FALSE(real.shown[0].markup);
    EXPECT_TRUE(real.shown[0].hadFocus);
    EXPECT_EQ(row("CurHP", "Aldric"), "9");
}

// The roster's context menu names the step it undoes and redoes, and opens the log.
TEST_F(MainWindowHistory, TheContextMenuNamesTheSteps)
{
    auto* menu = control<QMenu>("HistoryMenu");
    const auto item = [&](const char* name) { return menu->findChild<QAction*>(name); };
    emit menu->aboutToShow();
    EXPECT_EQ(item("UndoItem")->text(), "Undo");
    EXPECT_FALSE(item("UndoItem")->isEnabled());
    EXPECT_FALSE(item("RedoItem")->isEnabled());
    EXPECT_EQ(item("EncounterLogItem")->text(), "Encounter Log...");

    click("Button17");
    emit menu->aboutToShow();
    EXPECT_EQ(item("UndoItem")->text(), "Undo Group Extended Rest");
    item("UndoItem")->trigger();
    EXPECT_EQ(row("CurHP", "Aldric"), "30");
    emit menu->aboutToShow();
    EXPECT_EQ(item("RedoItem")->text(), "Redo Group Extended Rest");
    EXPECT_EQ(item("UndoItem")->text(), "Undo");
    item("RedoItem")->trigger();
    EXPECT_EQ(row("CurHP", "Aldric"), "40");

    // A right-click in the grid shows it.
    auto* grid = control<QAbstractScrollArea>("DBGridEh1");
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(menu->isVisible());
        menu->close();
    });
    emit grid->customContextMenuRequested(QPoint(10, 10));
    QTest::qWait(20);
    EXPECT_FALSE(menu->isVisible());
    item("EncounterLogItem")->trigger();
    ASSERT_NE(window->encounterLog(), nullptr);
    EXPECT_TRUE(window->encounterLog()->isVisible());
}

} // namespace
