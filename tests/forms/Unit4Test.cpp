#include "forms/Unit4.h"

#include "tests/forms/DialogFixture.h"
#include "tests/support/AccessiblePress.h"
#include "tests/support/WriteFaults.h"
#include "ui/SpinEdit.h"

#include <QAccessible>
#include <QLabel>

#include <sqlite3.h>

#include <functional>
#include <optional>

namespace {

using testing_support::DialogTest;

class NpcDialog : public DialogTest {
protected:
    std::unique_ptr<TForm4> dialog()
    {
        return std::make_unique<TForm4>(&owner, party.ADOConnection1);
    }
    // The quantity typed over what the box shows, key by key.
    static void typeQuantity(QDialog& w, const QString& text)
    {
        auto* spin = control(w, "SpinEdit1");
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
    }
    Rows npcs() const
    {
        return file.rows("SELECT Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, Will, PC "
                         "FROM Table1 ORDER BY ID");
    }
};

TEST_F(NpcDialog, InsertsANumberedBatch)
{
    struct Case {
        const char* label;
        const char* name;                // typed over "New name", or left as it is
        std::optional<QString> quantity; // typed into the box, or left at 1
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"three goblins", "Goblin", "3", {"Goblin.1", "Goblin.2", "Goblin.3"}},
        {"the quantity as it opens", nullptr, std::nullopt, {"New name.1"}},
        {"an empty base name", "", "2", {".1", ".2"}},
        {"an empty quantity counts as one", "Orc", "", {"Orc.1"}},
        {"a quantity that is no whole number counts as one", "Orc", "2.5", {"Orc.1"}},
        {"a name with quotes and SQL words",
         "O'Hara \"the\" '); DELETE FROM Table1; --",
         "2",
         {"O'Hara \"the\" '); DELETE FROM Table1; --.1",
          "O'Hara \"the\" '); DELETE FROM Table1; --.2"}},
        {"blanks kept", "  Kobold ", "1", {"  Kobold .1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("DELETE FROM Table1");
        auto d = dialog();
        const int result = runModal(*d, [&](QDialog& w) {
            if (c.name) type(w, "Edit1", c.name);
            type(w, "Edit3", "12"); // TotalHP
            type(w, "Edit4", "15"); // AC
            if (c.quantity) typeQuantity(w, *c.quantity);
            click(w, "Button1");
        });
        EXPECT_EQ(result, ui::mrOk);
        Rows expected;
        for (const std::string& name : c.names)
            expected.push_back({name, "12", "12", "0", "0", "15", "0", "0", "0", "0"});
        EXPECT_EQ(npcs(), expected);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NpcDialog, RunsItsPreparedInsertAsWrittenWithTheDeclaredParameters)
{
    using store::ValueType;
    auto d = dialog();
    const store::Statement& insert = d->insertStatement();
    EXPECT_EQ(insert.sql(),
              "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
              "   VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, :PC );");
    EXPECT_TRUE(insert.prepared());
    const auto S = ValueType::String, I = ValueType::Integer, B = ValueType::Boolean;
    EXPECT_EQ(declaredParameters(insert), (DeclaredParameters{{"Name", S},
                                                              {"TotalHP", I},
                                                              {"CurHP", I},
                                                              {"Initiative", I},
                                                              {"AC", I},
                                                              {"Ref", I},
                                                              {"Fort", I},
                                                              {"Will", I},
                                                              {"PC", B}}));
    ASSERT_EQ(insert.parameters().back().name(), "PC");
    EXPECT_EQ(insert.parameters().back().value(), store::Value(false));
}

TEST_F(NpcDialog, EnterAtOnceInsertsOneNewName)
{
    auto d = dialog();
    const int result = runModal(*d, [&](QDialog& w) {
        EXPECT_EQ(w.focusWidget(), control(w, "Button1"));
        QTest::keyClick(control(w, "Button1"), Qt::Key_Return);
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(npcs(), (Rows{{"New name.1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}}));
}

TEST_F(NpcDialog, AQuantityPastTheLimitIsBroughtToAThousandWhenTheBoxIsLeft)
{
    auto d = dialog();
    const int result = runModal(*d, [&](QDialog& w) {
        type(w, "Edit1", "Goblin");
        type(w, "Edit3", "7");
        typeQuantity(w, "5000");
        click(w, "Button1");
        EXPECT_EQ(control<ui::SpinEdit>(w, "SpinEdit1")->text(), "1000");
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(file.rows("SELECT count(*), count(DISTINCT Name), min(ID) = max(ID) - 999, sum(PC), "
                        "sum(TotalHP = 7 AND CurHP = 7) FROM Table1"),
              (Rows{{"1000", "1000", "1", "0", "1000"}}));
    const Rows names = file.rows("SELECT Name FROM Table1 ORDER BY ID");
    ASSERT_EQ(names.size(), 1000u);
    for (int n = 1; n <= 1000; ++n)
        ASSERT_EQ(names[n - 1][0], "Goblin." + std::to_string(n));
}

TEST_F(NpcDialog, APressThatLeavesTheFocusInTheQuantityStillInsertsAtMostAThousand)
{
    // Assistive technology presses OK without moving the focus out of the quantity box.
    auto d = dialog();
    const int result = runModal(*d, [&](QDialog& w) {
        typeQuantity(w, "2147483647");
        testing_support::pressAsAssistiveTechnology(control(w, "Button1"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 30000));
        EXPECT_EQ(control<ui::SpinEdit>(w, "SpinEdit1")->text(), "1000");
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(file.rows("SELECT count(*), max(Name = 'New name.1000') FROM Table1"),
              (Rows{{"1000", "1"}}));
}

TEST_F(NpcDialog, EscCancelAndTheCloseBoxWriteNothing)
{
    struct Case {
        const char* label;
        std::function<void(QDialog&)> close;
    };
    const Case cases[] = {
        {"Esc in an edit",
         [](QDialog& w) { QTest::keyClick(control(w, "Edit3"), Qt::Key_Escape); }},
        {"Esc in the quantity box",
         [](QDialog& w) { QTest::keyClick(control(w, "SpinEdit1"), Qt::Key_Escape); }},
        {"Cancel clicked", [](QDialog& w) { click(w, "Button2"); }},
        {"the close box", [](QDialog& w) { w.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto d = dialog();
        const int result = runModal(*d, [&](QDialog& w) {
            type(w, "Edit1", "Goblin");
            typeQuantity(w, "4");
            for (const char* edit : {"Edit1", "Edit5", "SpinEdit1"}) {
                QTest::keyClick(control(w, edit), Qt::Key_Return);
                EXPECT_TRUE(w.isVisible()) << edit;
            }
            c.close(w);
        });
        EXPECT_EQ(result, ui::mrCancel);
    }
    EXPECT_TRUE(npcs().empty());
}

TEST_F(NpcDialog, EveryNumberEditTakesBackWhatIsNotAWholeNumber)
{
    auto d = dialog();
    runModal(*d, [&](QDialog& w) {
        for (const char* edit : {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"}) {
            SCOPED_TRACE(edit);
            boxes.shown.clear();
            type(w, edit, "7a");
            EXPECT_EQ(control<QLineEdit>(w, edit)->text(), "7");
            EXPECT_EQ(boxes.texts(), (std::vector<QString>{"7a is not numeric value"}));
            EXPECT_EQ(w.focusWidget(), control(w, edit));
        }
    });
}

TEST_F(NpcDialog, AFailedOkKeepsTheDialogOpenUntilSomethingIsWritten)
{
    // Names are held to 255 characters: with this base name the first nine fit and the
    // tenth does not.
    const std::string fitsNine(253, 'n');
    struct Case {
        const char* label;
        std::string name;
        const char* emptied; // a number edit left empty, or none
        const char* message; // the conversion error as shown; empty for the database's own
        int inserted;
        int result;
    };
    const Case cases[] = {
        {"empty TotalHP", "Goblin", "Edit3", "'' is not a valid integer value.", 0, stillOpen},
        {"empty Will", "Goblin", "Edit7", "'' is not a valid integer value.", 0, stillOpen},
        {"the first name refused", std::string(254, 'n'), nullptr, "", 0, stillOpen},
        {"refused in the middle of the batch", fitsNine, nullptr, "", 9, ui::mrOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("DELETE FROM Table1");
        boxes.shown.clear();
        auto d = dialog();
        const int result = runModal(*d, [&](QDialog& w) {
            type(w, "Edit1", QString::fromStdString(c.name));
            type(w, "Edit4", "15");
            if (c.emptied) type(w, c.emptied, "");
            typeQuantity(w, "12");
            click(w, "Button1");
            if (w.isVisible()) { // everything typed is still there
                EXPECT_EQ(control<QLineEdit>(w, "Edit1")->text().toStdString(), c.name);
                EXPECT_EQ(control<QLineEdit>(w, "Edit4")->text(), "15");
                EXPECT_EQ(control<ui::SpinEdit>(w, "SpinEdit1")->value(), 12);
            }
        });
        EXPECT_EQ(result, c.result);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
        if (*c.message) {
            EXPECT_EQ(boxes.shown[0].text, c.message);
        }
        EXPECT_EQ(file.scalar("SELECT count(*) FROM Table1"), std::to_string(c.inserted));
        if (c.inserted > 0) {
            EXPECT_EQ(file.scalar("SELECT Name FROM Table1 ORDER BY ID DESC LIMIT 1"),
                      c.name + ".9");
        }
    }
}

// The batch is one step: the disk full when it is committed, none of it is written, the error
// says so, and the dialog stays open with everything typed so that OK can try again.
TEST_F(NpcDialog, ADiskFullWhenTheBatchIsCommittedWritesNoneOfItAndKeepsTheDialogOpen)
{
    testing_support::WriteFaults disk;
    party.ADOConnection1.setConnected(false);
    file.open(party); // through the disk that can fill up
    int commits = 0;
    sqlite3_commit_hook(
        party.ADOConnection1.handle(),
        [](void* count) {
            ++*static_cast<int*>(count);
            return 0;
        },
        &commits);
    const std::string before = file.bytes();
    auto d = dialog();
    const int result = runModal(*d, [&](QDialog& w) {
        type(w, "Edit1", "Orc");
        type(w, "Edit3", "15");
        typeQuantity(w, "8");
        disk.arm(SQLITE_FULL);
        click(w, "Button1");
        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
        EXPECT_EQ(boxes.shown[0].text.toStdString(),
                  "Nothing of this step was saved: The disk holding '" + file.path() +
                      "' is full, so the change was not saved; free some space and try again.");
        EXPECT_EQ(file.bytes(), before);
        EXPECT_EQ(file.scalar("PRAGMA integrity_check"), "ok");
        // With room again the same batch goes through, once, in one commit.
        disk.disarm();
        commits = 0;
        click(w, "Button1");
    });
    sqlite3_commit_hook(party.ADOConnection1.handle(), nullptr, nullptr);
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(file.scalar("SELECT group_concat(Name) FROM Table1"),
              "Orc.1,Orc.2,Orc.3,Orc.4,Orc.5,Orc.6,Orc.7,Orc.8");
}

TEST_F(NpcDialog, WindowTabOrderAndWhatAssistiveTechnologyIsTold)
{
    auto d = dialog();
    runModal(*d, [&](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), "Add NPC");
        EXPECT_EQ(w.size(), QSize(199, 247));
        EXPECT_EQ(w.pos(), QPoint(208, 135));
        EXPECT_EQ(w.font().pixelSize(), 11);
        auto* spin = control<ui::SpinEdit>(w, "SpinEdit1");
        EXPECT_EQ(spin->minValue(), 1);
        EXPECT_EQ(spin->maxValue(), 1000);
        EXPECT_EQ(spin->value(), 1);
        const char* const labelled[][3] = {
            {"Label8", "Quantity", "SpinEdit1"}, {"Label1", "Name", "Edit1"},
            {"Label2", "Initiative", "Edit2"},   {"Label3", "TotalHP", "Edit3"},
            {"Label4", "AC", "Edit4"},           {"Label5", "Fort", "Edit5"},
            {"Label6", "Ref", "Edit6"},          {"Label7", "Will", "Edit7"},
        };
        const char* initial[] = {"1", "New name", "0", "0", "0", "0", "0", "0"};
        int i = 0;
        for (const auto& [label, caption, edit] : labelled) {
            SCOPED_TRACE(caption);
            auto* l = control<QLabel>(w, label);
            EXPECT_EQ(l->text(), caption);
            EXPECT_LE(l->sizeHint().width(), l->width());
            EXPECT_EQ(l->buddy(), control(w, edit));
            EXPECT_EQ(
                QAccessible::queryAccessibleInterface(control(w, edit))->text(QAccessible::Name),
                caption);
            if (auto* e = qobject_cast<QLineEdit*>(control(w, edit))) {
                EXPECT_EQ(e->text(), initial[i]);
            }
            ++i;
        }
        const char* order[] = {"Button2", "Edit1", "Edit2", "Edit3",     "Edit4",
                               "Edit5",   "Edit6", "Edit7", "SpinEdit1", "Button1"};
        for (const char* next : order) {
            QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
            QWidget* focused = w.focusWidget();
            // The box's own line edit takes the focus for it.
            if (focused && focused->parentWidget() == spin) focused = spin;
            EXPECT_EQ(focused, control(w, next)) << next;
        }
        // A resizable border; the controls keep their places when it is resized.
        EXPECT_NE(w.minimumSize(), w.maximumSize());
        const QRect ok = control(w, "Button1")->geometry();
        const QRect name = control(w, "Edit1")->geometry();
        w.resize(320, 400);
        EXPECT_EQ(control(w, "Button1")->geometry(), ok);
        EXPECT_EQ(control(w, "Edit1")->geometry(), name);
    });
}

} // namespace
