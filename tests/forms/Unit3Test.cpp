#include "forms/Unit3.h"

#include "tests/forms/DialogFixture.h"
#include "tests/support/RealMessageBoxes.h"
#include "ui/Beep.h"
#include "ui/DataSource.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>

#include <functional>

namespace {

using testing_support::DialogTest;

class ItemDialog : public DialogTest {
protected:
    void SetUp() override
    {
        file.sql("INSERT INTO Table1 (Name, TotalHP, CurHP, PC) VALUES ('Aldric', 40, 40, 1);"
                 "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Sword', 4)");
        DialogTest::SetUp();
        DataSource3.setDataset(&party.ADOTable3);
    }
    // "Add Item" as the main window runs it: the blank item appended and in edit state, the
    // dialog over it, the item posted after "Add", and the weight read again in any case.
    int addItem(const std::function<void(QDialog&)>& steps)
    {
        party.ADOTable3.appendValues(
            {party.ADOTable1.fieldValue("Name"), store::Value(""), store::Value(0)});
        party.ADOTable3.edit();
        TForm3 d(&owner, DataSource3);
        const int result = runModal(d, steps);
        if (result == ui::mrOk) party.ADOTable3.post();
        party.ADOTable4.reopen();
        return result;
    }
    Rows items() const { return file.rows("SELECT Name, Item, Weight FROM Inventory ORDER BY ID"); }
    std::string sumWeight() { return party.ADOTable4.fieldByName("SumWeight").displayText(); }

    ui::DataSource DataSource3;
};

TEST_F(ItemDialog, AddWritesTheTypedNameAndWeight)
{
    const int result = addItem([&](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), "Add Item");
        EXPECT_EQ(w.focusWidget(), control(w, "DBEditEh1"));
        EXPECT_EQ(control<QLineEdit>(w, "DBEditEh1")->text(), "");
        EXPECT_EQ(control<QLineEdit>(w, "DBEditEh2")->text(), "0");
        type(w, "DBEditEh1", "Rope, 50' \"hempen\"");
        type(w, "DBEditEh2", "10");
        click(w, "Button1");
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "4"}, {"Aldric", "Rope, 50' \"hempen\"", "10"}}));
    EXPECT_EQ(sumWeight(), "14");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ItemDialog, AddWithoutTypingKeepsABlankItemOfNoWeight)
{
    EXPECT_EQ(addItem([&](QDialog& w) { click(w, "Button1"); }), ui::mrOk);
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "4"}, {"Aldric", "", "0"}}));
    EXPECT_EQ(party.ADOTable3.state(), store::DatasetState::Browse);
}

TEST_F(ItemDialog, CancelAndTheCloseBoxTakeTheItemOutAgain)
{
    struct Case {
        const char* label;
        std::function<void(QDialog&)> close;
    };
    const Case cases[] = {
        {"Cancel clicked", [](QDialog& w) { click(w, "Button2"); }},
        {"Space on Cancel",
         [](QDialog& w) {
             control(w, "Button2")->setFocus();
             QTest::keyClick(control(w, "Button2"), Qt::Key_Space);
         }},
        {"the close box", [](QDialog& w) { w.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const int result = addItem([&](QDialog& w) {
            type(w, "DBEditEh1", "Lantern");
            type(w, "DBEditEh2", "3");
            c.close(w);
        });
        EXPECT_EQ(result, ui::mrCancel);
        EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "4"}}));
        EXPECT_EQ(party.ADOTable3.state(), store::DatasetState::Browse);
        EXPECT_EQ(party.ADOTable3.recordCount(), 1);
        EXPECT_EQ(sumWeight(), "4");
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ItemDialog, EnterAndEscPressNoButton)
{
    const int result = addItem([&](QDialog& w) {
        type(w, "DBEditEh1", "Lantern");
        QTest::keyClick(control(w, "DBEditEh1"), Qt::Key_Return);
        EXPECT_TRUE(w.isVisible());
        // Esc in an edit takes back what was typed there; the dialog stays.
        QTest::keyClick(control(w, "DBEditEh1"), Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(control<QLineEdit>(w, "DBEditEh1")->text(), "");
        for (const char* button : {"Button1", "Button2"}) {
            control(w, button)->setFocus();
            QTest::keyClick(control(w, button), Qt::Key_Escape);
            EXPECT_TRUE(w.isVisible()) << button;
        }
        type(w, "DBEditEh1", "Torch");
        control(w, "Button1")->setFocus();
        QTest::keyClick(control(w, "Button1"), Qt::Key_Return);
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "4"}, {"Aldric", "Torch", "0"}}));
}

TEST_F(ItemDialog, TheItemNameTakesNoMoreThanTheColumnHolds)
{
    const QString typed = QString(250, 'a') + "bcdefghij";
    const int result = addItem([&](QDialog& w) {
        auto* name = control<QLineEdit>(w, "DBEditEh1");
        EXPECT_EQ(name->maxLength(), 255);
        type(w, "DBEditEh1", typed);
        EXPECT_EQ(name->text(), typed.left(255));
        click(w, "Button1");
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(file.scalar("SELECT Item FROM Inventory ORDER BY ID DESC LIMIT 1"),
              typed.left(255).toStdString());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ItemDialog, TheWeightStaysAWholeNumber)
{
    struct Case {
        const char* label;
        std::function<void(QLineEdit&)> typing;
        std::vector<QString> warnings;
        const char* left;
        const char* stored;
        int beeps; // characters refused before any check
    };
    const Case cases[] = {
        {"2.5 typed: the separator is refused",
         [](QLineEdit& e) { QTest::keyClicks(&e, "2.5"); },
         {},
         "25",
         "25",
         1},
        {"a letter typed", [](QLineEdit& e) { QTest::keyClicks(&e, "7a"); }, {}, "7", "7", 1},
        {"2.5 pasted: cut back to a whole number",
         [](QLineEdit& e) {
             QApplication::clipboard()->setText("2.5");
             QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
         },
         {"2.5 is not numeric value", "2. is not numeric value"},
         "2",
         "2",
         0},
        {"a lone minus",
         [](QLineEdit& e) { QTest::keyClick(&e, '-'); },
         {"- is not numeric value"},
         "",
         "NULL",
         0},
        {"a pasted negative weight",
         [](QLineEdit& e) {
             QApplication::clipboard()->setText("-3");
             QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
         },
         {},
         "-3",
         "-3",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("DELETE FROM Inventory WHERE Item <> 'Sword'");
        party.ADOTable3.reopen();
        boxes.shown.clear();
        int beeps = 0;
        ui::installBeepHandler([&] { ++beeps; });
        const int result = addItem([&](QDialog& w) {
            auto* weight = control<QLineEdit>(w, "DBEditEh2");
            type(w, "DBEditEh2", "");
            c.typing(*weight);
            EXPECT_EQ(beeps, c.beeps);
            EXPECT_EQ(weight->text(), c.left);
            EXPECT_EQ(w.focusWidget(), weight);
            EXPECT_EQ(weight->cursorPosition(), weight->text().size());
            click(w, "Button1");
        });
        ui::installBeepHandler({});
        EXPECT_EQ(result, ui::mrOk);
        EXPECT_EQ(boxes.texts(), c.warnings);
        EXPECT_EQ(file.scalar("SELECT Weight FROM Inventory WHERE Item = ''"), c.stored);
    }
}

TEST_F(ItemDialog, ABadWeightGivesItsWarningsOnlyWhenTheyTakeTheFocus)
{
    struct Case {
        const char* label;
        QString typed; // pasted whole, or a single key
        std::vector<QString> warnings;
        const char* stored;
    };
    const Case cases[] = {
        {"a lone minus typed", "-", {"- is not numeric value"}, "NULL"},
        {"2.5 pasted", "2.5", {"2.5 is not numeric value", "2. is not numeric value"}, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("DELETE FROM Inventory WHERE Item <> 'Sword'");
        party.ADOTable3.reopen();
        testing_support::RealMessageBoxes real;
        const int result = addItem([&](QDialog& w) {
            auto* weight = control<QLineEdit>(w, "DBEditEh2");
            type(w, "DBEditEh2", "");
            if (c.typed.size() == 1) {
                QTest::keyClick(weight, c.typed.at(0).toLatin1());
            }
            else {
                QApplication::clipboard()->setText(c.typed);
                QTest::keyClick(weight, Qt::Key_V, Qt::ControlModifier);
            }
            click(w, "Button1");
        });
        EXPECT_EQ(result, ui::mrOk);
        EXPECT_EQ(real.texts(), c.warnings);
        for (const auto& box : real.shown)
            EXPECT_TRUE(box.hadFocus) << box.text.toStdString();
        EXPECT_EQ(file.scalar("SELECT Weight FROM Inventory WHERE Item = ''"), c.stored);
    }
}

TEST_F(ItemDialog, EscInEitherEditPutsTheRecordsValueBackAndSelectsIt)
{
    const int result = addItem([&](QDialog& w) {
        const std::pair<const char*, const char*> typed[] = {{"DBEditEh1", "Rope"},
                                                             {"DBEditEh2", "12"}};
        for (const auto& [name, text] : typed) {
            SCOPED_TRACE(name);
            auto* edit = control<QLineEdit>(w, name);
            type(w, name, text);
            QTest::keyClick(edit, Qt::Key_Escape);
            EXPECT_TRUE(w.isVisible());
            const QString value = QString::fromStdString(
                party.ADOTable3.fieldByName(edit == control(w, "DBEditEh1") ? "Item" : "Weight")
                    .displayText());
            EXPECT_EQ(edit->text(), value);
            EXPECT_EQ(edit->selectedText(), value);
        }
        EXPECT_EQ(control<QLineEdit>(w, "DBEditEh2")->text(), "0");
        click(w, "Button1");
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(items(), (Rows{{"Aldric", "Sword", "4"}, {"Aldric", "", "0"}}));
}

TEST_F(ItemDialog, WindowTabOrderAndWhatAssistiveTechnologyIsTold)
{
    addItem([&](QDialog& w) {
        EXPECT_EQ(w.size(), QSize(376, 97));
        EXPECT_EQ(w.minimumSize(), w.maximumSize());
        EXPECT_EQ(w.pos(), QPoint(487, 316));
        EXPECT_EQ(control(w, "DBEditEh1")->width(), 309);
        EXPECT_EQ(control(w, "DBEditEh2")->width(), 49);
        const char* const labelled[][3] = {{"Label1", "Item Name", "DBEditEh1"},
                                           {"Label2", "Item Weight", "DBEditEh2"}};
        for (const auto& [label, caption, edit] : labelled) {
            SCOPED_TRACE(caption);
            EXPECT_EQ(control<QLabel>(w, label)->text(), caption);
            EXPECT_LE(control<QLabel>(w, label)->sizeHint().width(), control(w, label)->width());
            EXPECT_EQ(control<QLabel>(w, label)->buddy(), control(w, edit));
            EXPECT_EQ(
                QAccessible::queryAccessibleInterface(control(w, edit))->text(QAccessible::Name),
                caption);
        }
        EXPECT_EQ(control<QAbstractButton>(w, "Button1")->text(), "Add");
        EXPECT_EQ(control<QAbstractButton>(w, "Button2")->text(), "Cancel");
        for (const char* next : {"DBEditEh2", "Button1", "Button2", "DBEditEh1"}) {
            QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(w.focusWidget(), control(w, next)) << next;
        }
        click(w, "Button2");
    });
}

} // namespace
