#include "forms/Unit2.h"

#include "tests/forms/DialogFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>

#include <functional>

namespace {

using testing_support::DialogTest;

const char* const labelled[][3] = {
    {"Label1", "Name", "Edit1"}, {"Label2", "Initiative", "Edit2"}, {"Label3", "TotalHP", "Edit3"},
    {"Label4", "AC", "Edit4"},   {"Label5", "Fort", "Edit5"},       {"Label6", "Ref", "Edit6"},
    {"Label7", "Will", "Edit7"},
};

class CharacterDialog : public DialogTest {
protected:
    std::unique_ptr<TForm2> dialog(int charID = 0)
    {
        auto d = std::make_unique<TForm2>(&owner, party.ADOConnection1, party.ADOTable1);
        d->CharID = charID;
        return d;
    }
    // Every character, in the order added: name, TotalHP, CurHP, TempHP, Initiative, AC, Ref,
    // Fort, Will, PC.
    Rows characters() const
    {
        return file.rows("SELECT Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, Will, PC "
                         "FROM Table1 ORDER BY ID");
    }
    // Two characters; the second, hurt and dying, is the current one.
    int seedTwoAndSelectTheSecond()
    {
        file.sql("INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, "
                 "Will, PC) VALUES ('Aldric', 40, 30, 0, 3, 18, 15, 16, 14, 1);"
                 "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, "
                 "Will, PC, Dying, gp) VALUES ('Brynn', 31, -2, 5, 7, 17, 16, 13, 15, 1, 1, 12)");
        party.ADOTable1.reopen();
        party.ADOTable1.next();
        return party.ADOTable1.fieldByName("ID").asInteger();
    }
};

TEST_F(CharacterDialog, AddsAPlayerCharacterFromTheTypedValues)
{
    auto d = dialog();
    const int result = runModal(*d, [&](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), "Add new character");
        EXPECT_EQ(w.focusWidget(), control(w, "Button1"));
        const char* initial[] = {"New name", "0", "0", "0", "0", "0", "0"};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(control<QLineEdit>(w, labelled[i][2])->text(), initial[i]) << labelled[i][2];
        const char* typed[] = {"Kara", "3", "27", "17", "15", "14", "13"};
        for (int i = 0; i < 7; ++i)
            type(w, labelled[i][2], typed[i]);
        click(w, "Button1");
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_TRUE(boxes.shown.empty());
    // AC 17, Fort 15, Ref 14, Will 13; full hit points; a player character.
    EXPECT_EQ(characters(), (Rows{{"Kara", "27", "27", "0", "3", "17", "14", "15", "13", "1"}}));
}

TEST_F(CharacterDialog, EnterPressesOnlyTheFocusedButton)
{
    auto d = dialog();
    const int result = runModal(*d, [&](QDialog& w) {
        for (const char* edit : {"Edit1", "Edit3", "Edit7"}) {
            control(w, edit)->setFocus();
            QTest::keyClick(control(w, edit), Qt::Key_Return);
            QTest::keyClick(control(w, edit), Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_TRUE(w.isVisible()) << edit;
        }
        control(w, "Button1")->setFocus();
        QTest::keyClick(control(w, "Button1"), Qt::Key_Return);
    });
    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(characters(), (Rows{{"New name", "0", "0", "0", "0", "0", "0", "0", "0", "1"}}));
}

TEST_F(CharacterDialog, EscCancelAndTheCloseBoxWriteNothing)
{
    struct Case {
        const char* label;
        std::function<void(QDialog&)> close;
    };
    const Case cases[] = {
        {"Esc in the name edit",
         [](QDialog& w) { QTest::keyClick(control(w, "Edit1"), Qt::Key_Escape); }},
        {"Esc in a number edit",
         [](QDialog& w) { QTest::keyClick(control(w, "Edit5"), Qt::Key_Escape); }},
        {"Esc on OK", [](QDialog& w) { QTest::keyClick(control(w, "Button1"), Qt::Key_Escape); }},
        {"Cancel clicked", [](QDialog& w) { click(w, "Button2"); }},
        {"Enter on Cancel",
         [](QDialog& w) {
             control(w, "Button2")->setFocus();
             QTest::keyClick(control(w, "Button2"), Qt::Key_Return);
         }},
        {"the close box", [](QDialog& w) { w.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto d = dialog();
        const int result = runModal(*d, [&](QDialog& w) {
            type(w, "Edit1", "Kara");
            type(w, "Edit3", "27");
            c.close(w);
        });
        EXPECT_EQ(result, ui::mrCancel);
    }
    EXPECT_TRUE(characters().empty());
}

TEST_F(CharacterDialog, EditShowsTheCurrentCharacterAndResetsItsCurrentHitPoints)
{
    const int id = seedTwoAndSelectTheSecond();
    struct Case {
        const char* label;
        const char* totalHP; // typed over the shown maximum, or nothing typed
        const char* expectedHP;
        const char* shownRef; // the second opening shows what the first saved
    };
    const Case cases[] = {{"nothing changed", nullptr, "31", "16"},
                          {"a new maximum", "44", "44", "18"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto d = dialog(id);
        const int result = runModal(*d, [&](QDialog& w) {
            EXPECT_EQ(w.windowTitle(), "Edit Char");
            const char* shown[] = {"Brynn", "7", "31", "17", "13", c.shownRef, "15"};
            for (int i = 0; i < 7; ++i)
                EXPECT_EQ(control<QLineEdit>(w, labelled[i][2])->text(), shown[i])
                    << labelled[i][2];
            if (c.totalHP) type(w, "Edit3", c.totalHP);
            type(w, "Edit6", "18"); // Ref
            click(w, "Button1");
        });
        EXPECT_EQ(result, ui::mrOk);
        // CurHP is the maximum again; TempHP, the conditions, the coins and PC are kept.
        EXPECT_EQ(characters(), (Rows{{"Aldric", "40", "30", "0", "3", "18", "15", "16", "14", "1"},
                                      {"Brynn", c.expectedHP, c.expectedHP, "5", "7", "17", "18",
                                       "13", "15", "1"}}));
        EXPECT_EQ(file.rows("SELECT Dying, gp FROM Table1 WHERE Name = 'Brynn'"),
                  (Rows{{"1", "12"}}));
        // As the main window reads the roster again after OK.
        party.ADOTable1.reopen();
        party.ADOTable1.next();
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CharacterDialog, ADecimalInitiativeIsCutBackStepByStepWhenShown)
{
    struct Case {
        const char* stored;
        std::vector<QString> warnings;
        const char* left;
    };
    const Case cases[] = {
        {"2.5", {"2.5 is not numeric value", "2. is not numeric value"}, "2"},
        {"-1.25",
         {"-1.25 is not numeric value", "-1.2 is not numeric value", "-1. is not numeric value"},
         "-1"},
        {"12", {}, "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        file.sql("DELETE FROM Table1; INSERT INTO Table1 (Name, TotalHP, Initiative, PC) VALUES "
                 "('Kara', 20, " +
                 std::string(c.stored) + ", 1)");
        party.ADOTable1.reopen();
        boxes.shown.clear();
        auto d = dialog(party.ADOTable1.fieldByName("ID").asInteger());
        const int result = runModal(*d, [&](QDialog& w) {
            EXPECT_EQ(control<QLineEdit>(w, "Edit2")->text(), c.left);
            click(w, "Button1");
        });
        EXPECT_EQ(boxes.texts(), c.warnings);
        for (const auto& shown : boxes.shown)
            EXPECT_EQ(shown.kind, ui::MessageKind::Warning);
        EXPECT_EQ(result, ui::mrOk);
        EXPECT_EQ(file.scalar("SELECT Initiative FROM Table1"), c.left);
    }
}

TEST_F(CharacterDialog, TheNumberEditsTakeBackWhatIsNotAWholeNumber)
{
    struct Case {
        const char* label;
        const char* edit;
        std::function<void(QLineEdit&)> typing;
        std::vector<QString> warnings;
        const char* left;
    };
    const Case cases[] = {
        {"a letter after a digit",
         "Edit4",
         [](QLineEdit& e) { QTest::keyClicks(&e, "7a"); },
         {"7a is not numeric value"},
         "7"},
        {"a letter in front of two digits",
         "Edit7",
         [](QLineEdit& e) {
             QTest::keyClicks(&e, "12");
             QTest::keyClick(&e, Qt::Key_Home);
             QTest::keyClick(&e, 'a');
         },
         {"a12 is not numeric value", "a1 is not numeric value", "a is not numeric value"},
         ""},
        {"a lone minus",
         "Edit3",
         [](QLineEdit& e) { QTest::keyClick(&e, '-'); },
         {"- is not numeric value"},
         ""},
        {"a blank after the digits",
         "Edit2",
         [](QLineEdit& e) { QTest::keyClicks(&e, "5 "); },
         {"5  is not numeric value"},
         "5"},
        {"a pasted negative number",
         "Edit5",
         [](QLineEdit& e) {
             QApplication::clipboard()->setText("-12");
             QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
         },
         {},
         "-12"},
        {"a minus typed in front of digits",
         "Edit6",
         [](QLineEdit& e) {
             QTest::keyClicks(&e, "5");
             QTest::keyClick(&e, Qt::Key_Home);
             QTest::keyClick(&e, '-');
         },
         {},
         "-5"},
        {"anything in the name edit",
         "Edit1",
         [](QLineEdit& e) { QTest::keyClicks(&e, "Orc 7a-"); },
         {},
         "Orc 7a-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        boxes.shown.clear();
        auto d = dialog();
        const int result = runModal(*d, [&](QDialog& w) {
            auto* edit = control<QLineEdit>(w, c.edit);
            type(w, c.edit, "");
            control(w, "Button1")->setFocus(); // the check gives the focus back to the edit
            c.typing(*edit);
            EXPECT_EQ(edit->text(), c.left);
            if (!c.warnings.empty()) {
                EXPECT_EQ(w.focusWidget(), edit);
                EXPECT_EQ(edit->cursorPosition(), edit->text().size());
            }
        });
        EXPECT_EQ(result, stillOpen);
        EXPECT_EQ(boxes.texts(), c.warnings);
    }
    EXPECT_TRUE(characters().empty());
}

// A failed OK shows the error and leaves the dialog open with everything typed, so the
// master mends the one value and presses OK again.
TEST_F(CharacterDialog, AFailedOkKeepsTheDialogOpenAndWritesNothing)
{
    const int id = seedTwoAndSelectTheSecond();
    const Rows before = characters();
    const std::string tooLong(256, 'x');
    struct Case {
        const char* label;
        bool editMode;
        const char* edit;
        std::string bad, good;
        const char* message; // the conversion error as shown; empty for the database's own
    };
    const Case cases[] = {
        {"add, empty Will", false, "Edit7", "", "13", "'' is not a valid integer value."},
        {"add, empty Initiative", false, "Edit2", "", "3", "'' is not a valid integer value."},
        {"add, a name the database refuses", false, "Edit1", tooLong, "Kara", ""},
        {"edit, empty TotalHP", true, "Edit3", "", "33", "'' is not a valid integer value."},
        {"edit, a name the database refuses", true, "Edit1", tooLong, "Brynn", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        file.sql("DELETE FROM Table1 WHERE ID > " + std::to_string(id) +
                 "; UPDATE Table1 SET TotalHP = 31, CurHP = -2, AC = 17 WHERE Name = 'Brynn'");
        party.ADOTable1.reopen();
        party.ADOTable1.next();
        boxes.shown.clear();
        auto d = dialog(c.editMode ? id : 0);
        QString typedName;
        const int result = runModal(*d, [&](QDialog& w) {
            if (!c.editMode) type(w, "Edit1", "Kara");
            type(w, "Edit4", "21");
            type(w, c.edit, QString::fromStdString(c.bad));
            click(w, "Button1");
            EXPECT_TRUE(w.isVisible());
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
            if (*c.message) {
                EXPECT_EQ(boxes.shown[0].text, c.message);
            }
            EXPECT_EQ(control<QLineEdit>(w, c.edit)->text().toStdString(), c.bad);
            EXPECT_EQ(control<QLineEdit>(w, "Edit4")->text(), "21");
            EXPECT_EQ(characters(), before);

            type(w, c.edit, QString::fromStdString(c.good));
            click(w, "Button1");
        });
        EXPECT_EQ(result, ui::mrOk);
        EXPECT_EQ(boxes.shown.size(), 1u);
        const Rows after = characters();
        if (c.editMode) {
            ASSERT_EQ(after.size(), 2u);
            EXPECT_EQ(after[1][5], "21");
        }
        else {
            ASSERT_EQ(after.size(), 3u);
            EXPECT_EQ(after[2][0], "Kara");
            EXPECT_EQ(after[2][5], "21");
        }
    }
}

TEST_F(CharacterDialog, AnEditOfACharacterAnotherProgramDeletedIsRefusedAndKeepsTheDialogOpen)
{
    const int id = seedTwoAndSelectTheSecond();
    auto d = dialog(id);
    const int result = runModal(*d, [&](QDialog& w) {
        type(w, "Edit3", "44");
        file.sql("DELETE FROM Table1 WHERE ID = " + std::to_string(id)); // the other program
        click(w, "Button1");
        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
        EXPECT_EQ(boxes.shown[0].text,
                  "ADOQuery2: The character was changed or deleted by another program since "
                  "this dialog opened, so this change was not saved; cancel and open Edit Char "
                  "again to see it.");
        EXPECT_EQ(control<QLineEdit>(w, "Edit3")->text(), "44");
        click(w, "Button2");
    });
    EXPECT_EQ(result, ui::mrCancel);
    EXPECT_EQ(characters(), (Rows{{"Aldric", "40", "30", "0", "3", "18", "15", "16", "14", "1"}}));
}

TEST_F(CharacterDialog, AnEditOfACharacterAnotherProgramChangedIsRefusedAndKeepsTheTyping)
{
    const int id = seedTwoAndSelectTheSecond();
    auto d = dialog(id);
    const int result = runModal(*d, [&](QDialog& w) {
        type(w, "Edit4", "19");
        // The other program renames the character and raises its Will meanwhile.
        file.sql("UPDATE Table1 SET Name = 'Brynn the Bold', Will = 99 WHERE ID = " +
                 std::to_string(id));
        click(w, "Button1");
        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text,
                  "ADOQuery2: The character was changed or deleted by another program since "
                  "this dialog opened, so this change was not saved; cancel and open Edit Char "
                  "again to see it.");
        EXPECT_EQ(control<QLineEdit>(w, "Edit1")->text(), "Brynn");
        EXPECT_EQ(control<QLineEdit>(w, "Edit4")->text(), "19");
        click(w, "Button2");
    });
    EXPECT_EQ(result, ui::mrCancel);
    EXPECT_EQ(characters()[1], (std::vector<std::string>{"Brynn the Bold", "31", "-2", "5", "7",
                                                         "17", "16", "13", "99", "1"}));
}

TEST_F(CharacterDialog, RunsItsStatementsAsWrittenWithTheirDeclaredParameters)
{
    using store::ValueType;
    auto d = dialog();
    const store::Statement& insert = d->insertStatement();
    const store::Statement& update = d->updateStatement();
    EXPECT_EQ(insert.sql(),
              "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n" +
                  std::string(21, ' ') +
                  "VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, :PC );");
    EXPECT_EQ(update.sql(),
              "UPDATE Table1 SET Table1.Name = :Name, Table1.TotalHP = :TotalHP, Table1.CurHP = "
              ":CurHP, Table1.Initiative = :Initiative, Table1.AC = :AC, Table1.Fort = :Fort, "
              "Table1.Ref = :Ref, Table1.Will = :Will\nWHERE (Table1.ID=:ID);");
    const auto S = ValueType::String, I = ValueType::Integer, B = ValueType::Boolean;
    EXPECT_EQ(declaredParameters(insert), (DeclaredParameters{{"Name", S},
                                                              {"TotalHP", S},
                                                              {"CurHP", S},
                                                              {"Initiative", S},
                                                              {"AC", S},
                                                              {"Ref", S},
                                                              {"Fort", S},
                                                              {"Will", S},
                                                              {"PC", B}}));
    EXPECT_EQ(declaredParameters(update), (DeclaredParameters{{"Name", S},
                                                              {"TotalHP", I},
                                                              {"CurHP", I},
                                                              {"Initiative", I},
                                                              {"AC", I},
                                                              {"Fort", I},
                                                              {"Ref", I},
                                                              {"Will", I},
                                                              {"ID", I}}));

    // The insert hands its numbers over as texts; the columns still hold numbers.
    runModal(*d, [&](QDialog& w) {
        type(w, "Edit2", "7");
        type(w, "Edit3", "2147483647");
        click(w, "Button1");
    });
    EXPECT_EQ(file.rows("SELECT typeof(TotalHP), typeof(CurHP), typeof(Initiative), "
                        "typeof(AC), TotalHP, Initiative, typeof(Name), typeof(PC), PC "
                        "FROM Table1"),
              (Rows{{"integer", "integer", "integer", "integer", "2147483647", "7", "text",
                     "integer", "1"}}));
}

TEST_F(CharacterDialog, NamesAreStoredExactlyAsTyped)
{
    const char* const names[] = {
        "  Kara  ",
        "",
        "O'Brien the \"Bold\"",
        "x'); DELETE FROM Table1; --",
        "SELECT * FROM Inventory",
        ":Name",
        "Ærin of Þórsmörk 龍",
    };
    Rows expected;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        auto d = dialog();
        const int result = runModal(*d, [&](QDialog& w) {
            type(w, "Edit1", QString::fromUtf8(name));
            click(w, "Button1");
        });
        EXPECT_EQ(result, ui::mrOk);
        expected.push_back({name});
    }
    EXPECT_EQ(file.rows("SELECT Name FROM Table1 ORDER BY ID"), expected);
}

TEST_F(CharacterDialog, WindowTabOrderAndWhatAssistiveTechnologyIsTold)
{
    auto d = dialog();
    runModal(*d, [&](QDialog& w) {
        EXPECT_EQ(w.size(), QSize(191, 225));
        EXPECT_EQ(w.minimumSize(), w.maximumSize()); // a fixed border
        EXPECT_EQ(w.pos(), QPoint(244, 116));
        EXPECT_EQ(w.font().pixelSize(), 11);
        for (const auto& [label, caption, edit] : labelled) {
            SCOPED_TRACE(caption);
            auto* l = control<QLabel>(w, label);
            EXPECT_EQ(l->text(), caption);
            EXPECT_LE(l->sizeHint().width(), l->width()); // the caption is not clipped
            EXPECT_EQ(l->buddy(), control(w, edit));
            EXPECT_TRUE(l->alignment() & Qt::AlignRight);
            EXPECT_EQ(
                QAccessible::queryAccessibleInterface(control(w, edit))->text(QAccessible::Name),
                caption);
        }
        EXPECT_EQ(control<QAbstractButton>(w, "Button1")->text(), "OK");
        EXPECT_EQ(control<QAbstractButton>(w, "Button2")->text(), "Cancel");
        const char* order[] = {"Button2", "Edit1", "Edit2", "Edit3",  "Edit4",
                               "Edit5",   "Edit6", "Edit7", "Button1"};
        for (const char* next : order) {
            QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(w.focusWidget(), control(w, next)) << next;
        }
    });
}

} // namespace
