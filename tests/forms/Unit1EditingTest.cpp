// The main window's roster and inventory editing: the character, NPC and item dialogs as its
// buttons open them, "Delete Char", "Delete Item" and the money box's "Apply".
#include "forms/Unit1.h"
#include "tests/forms/MainWindowFixture.h"
#include "tests/support/RealMessageBoxes.h"
#include "ui/DBCheckBox.h"
#include "ui/DBText.h"
#include "ui/ModalDialogs.h"
#include "ui/SpinEdit.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTableView>

#include <functional>
#include <optional>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class MainWindowEditing : public testing_support::MainWindow {
protected:
    static constexpr int stillOpen = -1;

    void TearDown() override { ui::installModalRunner({}); }

    // The master's steps in the next dialog the window opens; records its caption and the
    // result the window acts on (stillOpen when the steps left it open).
    void inNextDialog(std::function<void(QDialog&)> steps)
    {
        ui::installModalRunner([this, steps = std::move(steps)](QDialog& d) {
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            caption = d.windowTitle();
            steps(d);
            dialogResult = d.isVisible() ? stillOpen : d.result();
            return *dialogResult;
        });
    }
    std::string shown(const char* dbText) { return control<QLabel>(dbText)->text().toStdString(); }
    QString edit(const char* name) { return control<QLineEdit>(name)->text(); }
    // After rows were changed behind the window's back: every dataset reads the file again.
    void readAgain()
    {
        for (store::Dataset* d :
             {&window->ADOTable1, &window->ADOTable2, &window->ADOTable3, &window->ADOTable4})
            d->reopen();
    }
    void emptyTheRoster()
    {
        file.sql("DELETE FROM Table1");
        readAgain();
    }
    ui::DBCheckBox* condition(const QString& name)
    {
        for (auto* box : window->findChildren<ui::DBCheckBox*>())
            if (box->text() == name) return box;
        ADD_FAILURE() << name.toStdString();
        return nullptr;
    }
    Rows items() const { return file.rows("SELECT Name, Item, Weight FROM Inventory ORDER BY ID"); }
    double weightShown() { return std::stod(shown("DBText13")); }

    QString caption;
    std::optional<int> dialogResult;
};

TEST_F(MainWindowEditing, AddedCharactersAndNpcsShowInTheReopenedRoster)
{
    inNextDialog([](QDialog& d) {
        typeIn(d, "Edit1", "Cael");
        typeIn(d, "Edit3", "22");
        press(d, "Button1");
    });
    click("Button1");
    EXPECT_EQ(caption, "Add new character");
    EXPECT_EQ(row("TotalHP, CurHP, TempHP, PC", "Cael"), "22/22/0/1");
    EXPECT_EQ(window->ADOTable1.recordCount(), 4);
    EXPECT_EQ(window->ADOTable1.recNo(), 0); // a reopen makes the first record current

    inNextDialog([](QDialog& d) {
        typeIn(d, "Edit1", "Orc");
        typeIn(d, "Edit3", "15");
        auto* spin = d.findChild<ui::SpinEdit*>("SpinEdit1");
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, "3");
        press(d, "Button1");
    });
    click("Button13");
    EXPECT_EQ(caption, "Add NPC");
    EXPECT_EQ(file.rows("SELECT Name, CurHP, PC FROM Table1 WHERE Name LIKE 'Orc%' ORDER BY ID"),
              (Rows{{"Orc.1", "15", "0"}, {"Orc.2", "15", "0"}, {"Orc.3", "15", "0"}}));
    EXPECT_EQ(window->ADOTable1.recordCount(), 7);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowEditing, EditCharResetsCurrentHitPointsAndKeepsTemporaryOnes)
{
    file.sql("UPDATE Table1 SET TempHP = 6 WHERE Name = 'Aldric'");
    window->ADOTable1.reopen();
    inNextDialog([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("Edit1")->text(), "Aldric");
        EXPECT_EQ(d.findChild<QLineEdit*>("Edit3")->text(), "40");
        typeIn(d, "Edit3", "45");
        press(d, "Button1");
    });
    click("Button3");
    EXPECT_EQ(caption, "Edit Char");
    EXPECT_EQ(row("TotalHP, CurHP, TempHP, PC", "Aldric"), "45/45/6/1");
    EXPECT_EQ(row("CurHP", "Brynn"), "31");
}

TEST_F(MainWindowEditing, EditCharOnAnEmptyRosterAddsAPlayerCharacter)
{
    emptyTheRoster();
    inNextDialog([](QDialog& d) { press(d, "Button1"); });
    click("Button3");
    EXPECT_EQ(caption, "Add new character");
    EXPECT_EQ(file.rows("SELECT Name, PC FROM Table1"), (Rows{{"New name", "1"}}));
}

// A ticked condition is posted before a dialog opens, so the reopen after OK cannot drop it.
TEST_F(MainWindowEditing, AConditionTickedJustBeforeADialogIsKept)
{
    struct Case {
        const char* button;
        const char* closeWith;
    };
    const Case cases[] = {{"Button1", "Button1"}, {"Button1", "Button2"},  {"Button3", "Button1"},
                          {"Button3", "Button2"}, {"Button13", "Button1"}, {"Button13", "Button2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " closed by " + c.closeWith);
        file.sql("UPDATE Table1 SET Dazed = 0");
        window->ADOTable1.reopen();
        QTest::mouseClick(condition("Dazed"), Qt::LeftButton);
        ASSERT_TRUE(window->ADOTable1.editing());
        inNextDialog([&](QDialog& d) { press(d, c.closeWith); });
        click(c.button);
        EXPECT_EQ(row("Dazed", "Aldric"), "1");
        EXPECT_FALSE(window->ADOTable1.editing());
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowEditing, DeleteCharAsksAndReadsTheSumsAgain)
{
    EXPECT_EQ(shown("DBText7"), "14"); // cp of the party: 10 + 4
    boxes.answers = {ui::mrCancel};
    click("Button9");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Delete Aldric?");
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Confirmation);
    EXPECT_TRUE(boxes.shown[0].withCancel);
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "3");

    boxes.answers = {ui::mrOk};
    click("Button9");
    EXPECT_EQ(file.scalar("SELECT group_concat(Name) FROM Table1"), "Brynn,Goblin.1");
    EXPECT_EQ(shown("DBText7"), "4");
    // The items stay in the file with their owner's name.
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "4"}, {"Aldric", "Shield", "6"}}));

    // With nobody left there is no name to ask about.
    emptyTheRoster();
    boxes.shown.clear();
    click("Button9");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
    EXPECT_EQ(boxes.shown[0].text, "Could not convert variant of type (Null) into type (String)");
}

TEST_F(MainWindowEditing, ApplyAddsEveryAmountOnceOrNothing)
{
    struct Case {
        const char* label;
        std::vector<std::pair<const char*, const char*>> typed; // amount edit, text
        const char* coins;                                      // cp/sp/gp/pp/ad of Aldric after
        std::vector<QString> warnings; // the first bad edit is set to "0" and has the focus
        const char* focused;
        std::vector<std::pair<const char*, const char*>> after; // edits' texts after Apply
    };
    const Case cases[] = {
        {"amounts in several coins",
         {{"Edit4", "5"}, {"Edit6", "-2"}},
         "15/NULL/3/NULL/NULL",
         {},
         nullptr,
         {{"Edit4", "0"}, {"Edit6", "0"}}},
        {"a bad edit stops before any change",
         {{"Edit4", "5"}, {"Edit5", "x"}},
         "10/NULL/5/NULL/NULL",
         {"x is not numeric value"},
         "Edit5",
         {{"Edit4", "5"}, {"Edit5", "0"}}},
        {"of two bad edits only the first is reported",
         {{"Edit5", "1a"}, {"Edit7", "y"}},
         "10/NULL/5/NULL/NULL",
         {"1a is not numeric value"},
         "Edit5",
         {{"Edit5", "0"}, {"Edit7", "y"}}},
        {"an empty edit adds nothing",
         {{"Edit4", ""}, {"Edit6", "1"}},
         "10/NULL/6/NULL/NULL",
         {},
         nullptr,
         {{"Edit4", "0"}, {"Edit6", "0"}}},
        {"a coin without a value stays without one",
         {{"Edit5", "3"}, {"Edit8", "2"}},
         "10/NULL/5/NULL/NULL",
         {},
         nullptr,
         {{"Edit5", "0"}, {"Edit8", "0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("UPDATE Table1 SET cp = 10, sp = NULL, gp = 5, pp = NULL, ad = NULL "
                 "WHERE Name = 'Aldric'");
        readAgain();
        boxes.shown.clear();
        for (const char* e : {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8"})
            control<QLineEdit>(e)->setText("0");
        for (const auto& [e, text] : c.typed)
            type(e, text);
        click("Button8");
        EXPECT_EQ(row("cp, sp, gp, pp, ad", "Aldric"), c.coins);
        EXPECT_EQ(boxes.texts(), c.warnings);
        for (const auto& [e, text] : c.after)
            EXPECT_EQ(edit(e), text) << e;
        if (c.focused) {
            EXPECT_EQ(QApplication::focusWidget(), control(c.focused));
        }
        EXPECT_FALSE(window->ADOTable1.editing());
        // The party's sums and the carried weight (coins included) are read again after each
        // post: reading everything anew shows nothing else.
        EXPECT_EQ(shown("DBText7"), file.scalar("SELECT sum(cp) FROM Table1"));
        EXPECT_EQ(shown("DBText9"), file.scalar("SELECT sum(gp) FROM Table1"));
        const std::string weight = shown("DBText13");
        readAgain();
        EXPECT_EQ(shown("DBText13"), weight);
    }
}

TEST_F(MainWindowEditing, ARefusedApplyIsPostedOnceWhenPressedAgain)
{
    file.sql("CREATE TRIGGER refuse BEFORE UPDATE OF cp ON Table1 "
             "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END");
    type("Edit4", "5");
    click("Button8");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
    EXPECT_TRUE(boxes.shown[0].text.contains("database or disk is full"));
    EXPECT_EQ(edit("Edit4"), "0");
    EXPECT_TRUE(window->ADOTable1.editing());
    EXPECT_EQ(row("cp", "Aldric"), "10");

    file.sql("DROP TRIGGER refuse");
    click("Button8");
    EXPECT_EQ(row("cp", "Aldric"), "15");
    EXPECT_EQ(shown("DBText7"), "19");
}

TEST_F(MainWindowEditing, NoCharacterNoCoinsAndNoItems)
{
    emptyTheRoster();
    type("Edit4", "5");
    click("Button8");
    bool opened = false;
    inNextDialog([&](QDialog& d) {
        opened = true;
        press(d, "Button1");
    });
    click("Button2");
    EXPECT_FALSE(opened);
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), "0");
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Inventory"), "2");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(window->ADOTable3.editing());
}

TEST_F(MainWindowEditing, ItemsAddedCancelledClosedAndDeleted)
{
    const double before = weightShown();
    const Rows start{{"Aldric", "Sword", "4"}, {"Aldric", "Shield", "6"}};
    struct Case {
        const char* label;
        const char* name;   // typed, or left blank
        const char* weight; // typed, or left at 0
        std::function<void(QDialog&)> close;
        bool kept;
    };
    const auto add = [](QDialog& d) { press(d, "Button1"); };
    const Case cases[] = {
        {"added", "Rope; DROP TABLE Inventory; --'\"", "2", add, true},
        {"added without typing", nullptr, nullptr, add, true},
        {"cancelled", "Lantern", "3", [](QDialog& d) { press(d, "Button2"); }, false},
        {"closed by its close box", "Lantern", "3", [](QDialog& d) { d.close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("DELETE FROM Inventory WHERE Item NOT IN ('Sword', 'Shield')");
        readAgain();
        inNextDialog([&](QDialog& d) {
            if (c.name) typeIn(d, "DBEditEh1", c.name);
            if (c.weight) typeIn(d, "DBEditEh2", c.weight);
            c.close(d);
        });
        click("Button2");
        Rows expected = start;
        if (c.kept) expected.push_back({"Aldric", c.name ? c.name : "", c.weight ? c.weight : "0"});
        EXPECT_EQ(items(), expected);
        EXPECT_FALSE(window->ADOTable3.editing());
        EXPECT_EQ(window->ADOTable3.recordCount(), static_cast<int>(expected.size()));
        EXPECT_DOUBLE_EQ(weightShown(), before + (c.kept && c.weight ? 2 : 0));
    }
    EXPECT_TRUE(boxes.shown.empty());

    file.sql("DELETE FROM Inventory WHERE Item NOT IN ('Sword', 'Shield')");
    readAgain();
    window->ADOTable3.moveTo(1);
    // Another program makes the sword heavier: even a cancelled delete reads the weight again.
    file.sql("UPDATE Inventory SET Weight = 5 WHERE Item = 'Sword'");
    boxes.answers = {ui::mrCancel, ui::mrOk};
    click("Button10");
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "5"}, {"Aldric", "Shield", "6"}}));
    EXPECT_DOUBLE_EQ(weightShown(), before + 1);
    click("Button10");
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Delete Shield?", "Delete Shield?"}));
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "5"}}));
    EXPECT_DOUBLE_EQ(weightShown(), before + 1 - 6);

    // A character without items has nothing to name in the question.
    window->ADOTable1.moveTo(1); // Brynn
    boxes.shown.clear();
    click("Button10");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
    EXPECT_EQ(boxes.shown[0].text, "Could not convert variant of type (Null) into type (String)");
}

TEST_F(MainWindowEditing, ABoxTickedOnAnEmptyRosterIsNoCharacterForTheDialogs)
{
    struct Case {
        const char* button;
        const char* closeWith;
        const char* rowsAfter; // the names in the file afterwards
        bool pendingAfter;     // the begun record still pending in the roster
    };
    const Case cases[] = {{"Button1", "Button1", "New name", false},
                          {"Button1", "Button2", "", true},
                          {"Button3", "Button1", "New name", false},
                          {"Button3", "Button2", "", true},
                          {"Button13", "Button2", "", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " closed by " + c.closeWith);
        emptyTheRoster();
        QTest::mouseClick(condition("Prone"), Qt::LeftButton);
        ASSERT_EQ(window->ADOTable1.state(), store::DatasetState::Insert);
        inNextDialog([&](QDialog& d) { press(d, c.closeWith); });
        click(c.button);
        std::string names;
        for (const auto& r : file.rows("SELECT ifnull(Name, '<none>') FROM Table1 ORDER BY ID"))
            names += (names.empty() ? "" : ",") + r[0];
        EXPECT_EQ(names, c.rowsAfter);
        EXPECT_EQ(window->ADOTable1.state(),
                  c.pendingAfter ? store::DatasetState::Insert : store::DatasetState::Browse);
        EXPECT_TRUE(boxes.shown.empty());
        window->ADOTable1.cancel();
    }
}

TEST_F(MainWindowEditing, ReloadAndEscDropARefusedChangeAndReadTheRecordAgain)
{
    const char* const ways[] = {"F5", "Esc in the roster"};
    for (const std::string way : ways) {
        SCOPED_TRACE(way);
        file.sql("UPDATE Table1 SET CurHP = 31, TempHP = 0");
        readAgain();
        window->ADOTable1.setSort("Initiative DESC"); // Brynn, Goblin.1, Aldric
        selectRow(1);
        ASSERT_EQ(window->ADOTable1.fieldByName("Name").displayText(), "Goblin.1");
        // Another program wounds the goblin; this one, still holding 31, damages it by 3.
        file.sql("UPDATE Table1 SET CurHP = 20 WHERE Name = 'Goblin.1'");
        boxes.shown.clear();
        type("Edit1", "3");
        click("Button5");
        ASSERT_EQ(boxes.texts().size(), 1u);
        EXPECT_TRUE(boxes.texts()[0].contains("F5 (Reload) or Esc in the roster"))
            << boxes.texts()[0].toStdString();
        ASSERT_EQ(window->ADOTable1.state(), store::DatasetState::Edit);

        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        if (way == "F5") {
            control("Edit2")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        }
        else {
            control("DBGridEh1")->setFocus();
            QTest::keyClick(control("DBGridEh1"), Qt::Key_Escape);
        }
        EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Browse);
        EXPECT_EQ(window->ADOTable1.fieldByName("Name").displayText(), "Goblin.1");
        EXPECT_EQ(window->ADOTable1.fieldByName("CurHP").asInteger(), 20);
        EXPECT_EQ(window->ADOTable1.sort(), "Initiative DESC");
        EXPECT_EQ(control<QTableView>("DBGridEh1")->currentIndex().row(), 1);

        // The next action on the record goes through.
        type("Edit1", "3");
        click("Button5");
        EXPECT_EQ(boxes.texts().size(), 1u);
        EXPECT_EQ(row("CurHP", "Goblin.1"), "17");
    }
}

TEST_F(MainWindowEditing, CoinsLeavingTheirRangeAreRefusedAndNothingIsWritten)
{
    file.sql("UPDATE Table1 SET cp = 22, sp = 3 WHERE Name = 'Aldric'");
    readAgain();
    type("Edit4", "2147483647");
    type("Edit5", "5");
    click("Button8");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
    EXPECT_EQ(boxes.shown[0].text, "The cp would become 2147483669, beyond what a coin can hold "
                                   "(-2147483648 to 2147483647), so no coin was changed.");
    EXPECT_EQ(row("cp, sp", "Aldric"), "22/3");
    EXPECT_EQ(shown("DBText2"), "22");
    EXPECT_EQ(edit("Edit4"), "2147483647"); // left to be put right
    EXPECT_FALSE(window->ADOTable1.editing());
    // Hit points keep their plain wrapping arithmetic.
    file.sql("UPDATE Table1 SET CurHP = -2147483648, TempHP = 0 WHERE Name = 'Aldric'");
    readAgain();
    type("Edit1", "1");
    click("Button5");
    EXPECT_EQ(row("CurHP", "Aldric"), "2147483647");
}

TEST_F(MainWindowEditing, MessageBoxesShowNamesAsTypedNotAsMarkup)
{
    file.sql("UPDATE Table1 SET Name = '<b>Big</b> Ogre' WHERE Name = 'Aldric'");
    readAgain();
    testing_support::RealMessageBoxes real;
    type("Edit1", "<i>x</i>");
    click("Button5");
    click("Button9"); // answered with OK: deleted
    ASSERT_EQ(real.shown.size(), 2u);
    EXPECT_EQ(real.shown[0].text, "<i>x</i> is not numeric value");
    EXPECT_EQ(real.shown[1].text, "Delete <b>Big</b> Ogre?");
    for (const auto& box : real.shown) {
        EXPECT_FALSE(box.markup) << box.text.toStdString();
        EXPECT_TRUE(box.hadFocus) << box.text.toStdString();
    }
    EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1 WHERE Name = '<b>Big</b> Ogre'"), "0");
}

} // namespace
