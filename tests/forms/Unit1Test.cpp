#include "forms/Unit1.h"

#include "forms/ConditionHints.h"

#include "tests/forms/MainWindowFixture.h"
#include "ui/ArrowButton.h"
#include "ui/DBCheckBox.h"
#include "ui/DataGrid.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <fstream>

namespace {

using testing_support::MainWindow;

struct Placed {
    const char* name;
    const char* caption; // nullptr: the control shows data, not a caption
    int x, y, w, h;
};

// Every control of the window where the layout puts it, with its caption.
const Placed layout[] = {
    {"DBGridEh1", nullptr, 8, 8, 766, 209},
    {"Button1", "Add Char", 779, 8, 84, 25},
    {"Button13", "Add NPC", 779, 36, 84, 25},
    {"Button3", "Edit Char", 778, 64, 86, 25},
    {"Button9", "Delete Char", 779, 92, 85, 25},
    {"DBNavigator1", nullptr, 779, 156, 84, 29},
    {"Button4", "Range Initiative", 780, 192, 84, 25},
    {"GroupBox3", "Heal&&Damage", 8, 224, 333, 121},
    {"GroupBox2", "Effects", 344, 224, 345, 153},
    {"GroupBox6", "Personal Action", 688, 224, 85, 285},
    {"GroupBox5", "Group Action", 776, 224, 85, 285},
    {"GroupBox1", "Money", 8, 348, 269, 161},
    {"JvDice1", nullptr, 280, 348, 29, 29},
    {"SpeedButton1", nullptr, 312, 348, 29, 29},
    {"GroupBox4", "Inventory", 280, 380, 405, 129},
    {"Label1", "Damage", 28, 16, 40, 13},
    {"Edit1", "", 72, 12, 57, 21},
    {"Edit2", "", 72, 36, 57, 21},
    {"Edit3", "", 72, 60, 57, 21},
    {"Button5", "Apply", 132, 12, 37, 69},
    {"Label4", "Healing surges used", 176, 14, 96, 13},
    {"DBText1", nullptr, 276, 14, 29, 17},
    {"Button26", "Use Second Wind", 176, 28, 149, 25},
    {"Button7", "Spend healing surges", 176, 56, 149, 25},
    {"JvArrowButton1", "Use HS with bonus 0", 8, 88, 125, 25},
    {"JvArrowButton2", "Apply HS value with bonus 0", 140, 88, 189, 25},
    {"DBCheckBoxEh15", "Blinded", 16, 24, 97, 17},
    {"DBCheckBoxEh14", "Weakened", 240, 120, 97, 17},
    {"DBText12", nullptr, 192, 20, 65, 17},
    {"Edit8", "0", 152, 36, 29, 21},
    {"Edit4", "0", 152, 132, 29, 21},
    {"Button8", "Apply", 188, 36, 73, 117},
    {"DBGrid1", nullptr, 4, 12, 313, 113},
    {"Button2", "Add Item", 324, 12, 75, 25},
    {"Button10", "Delete Item", 324, 44, 75, 25},
    {"Label13", "Sum weight", 328, 80, 55, 13},
    {"DBText13", nullptr, 320, 100, 81, 17},
    {"RbButton3", "Add MS", 8, 16, 69, 25},
    {"Button25", nullptr, 8, 244, 69, 33},
    {"Dice", "Dice", 8, 252, 69, 25},
};

class MainWindowLayout : public MainWindow {};

TEST_F(MainWindowLayout, ControlsStandWhereTheLayoutPutsThem)
{
    EXPECT_EQ(window->windowTitle(), "Tavrix");
    EXPECT_EQ(window->size(), QSize(867, 515));
    for (const Placed& p : layout) {
        SCOPED_TRACE(p.name);
        QWidget* w = control(p.name);
        ASSERT_NE(w, nullptr);
        const QRect laid(p.x, p.y, p.w, p.h);
        if (qobject_cast<QLabel*>(w) && !w->inherits("ui::DBText")) {
            // A caption may grow past its laid-out width rather than be clipped, never shrink.
            EXPECT_TRUE(w->geometry().contains(laid))
                << w->geometry().x() << "," << w->geometry().width();
            EXPECT_EQ(w->y(), p.y);
            EXPECT_GE(w->width(),
                      w->fontMetrics().horizontalAdvance(qobject_cast<QLabel*>(w)->text()));
        }
        else if (w->inherits("ui::DBText") && (laid.x() == 276 || laid.x() == 192)) {
            // A value beside a caption that grew moves right just enough to stay clear of it.
            EXPECT_GE(w->x(), p.x);
            EXPECT_LE(w->x(), p.x + 8);
            EXPECT_EQ(w->y(), p.y);
            EXPECT_EQ(w->size(), laid.size());
        }
        else {
            EXPECT_EQ(w->geometry(), laid);
        }
        if (!p.caption) continue;
        QString shown;
        if (auto* box = qobject_cast<QGroupBox*>(w))
            shown = box->title();
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            shown = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            shown = l->text();
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            shown = e->text();
        EXPECT_EQ(shown, p.caption);
    }
    EXPECT_EQ(control<QAbstractButton>("Button25")->accessibleName(), "Use Daily(Item)");
}

TEST_F(MainWindowLayout, TabRunsThroughTheBoxesInTheirOrder)
{
    // Inside the hit point box: "Spend healing surges", "Apply", the three edits, "Use Second
    // Wind".
    const char* chain[] = {"Button7", "Button5",  "Edit1",         "Edit2",
                           "Edit3",   "Button26", "DBCheckBoxEh1", "DBCheckBoxEh2"};
    control(chain[0])->setFocus();
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), chain[i]);
    }
    // The money edits run from the bottom row up, then "Apply".
    const char* money[] = {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Button8"};
    control(money[0])->setFocus();
    for (std::size_t i = 1; i < std::size(money); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), money[i]);
    }
    EXPECT_EQ(control("JvArrowButton1")->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(control("SpeedButton1")->focusPolicy(), Qt::NoFocus);
}

TEST_F(MainWindowLayout, WideningMovesTheRightColumnAndStretchesTheGridAndEffects)
{
    window->resize(967, 600);
    EXPECT_EQ(control("DBGridEh1")->geometry(), QRect(8, 8, 866, 209));
    EXPECT_EQ(control("GroupBox2")->geometry(), QRect(344, 224, 445, 153));
    EXPECT_EQ(control("Button1")->geometry(), QRect(879, 8, 84, 25));
    EXPECT_EQ(control("DBNavigator1")->geometry(), QRect(879, 156, 84, 29));
    EXPECT_EQ(control("Button4")->geometry(), QRect(880, 192, 84, 25));
    EXPECT_EQ(control("GroupBox5")->geometry(), QRect(776, 224, 85, 285)); // stays
    EXPECT_EQ(control("GroupBox1")->geometry(), QRect(8, 348, 269, 161));
    window->resize(867, 515);
    EXPECT_EQ(control("Button1")->geometry(), QRect(779, 8, 84, 25));
}

TEST_F(MainWindowLayout, ConditionBoxesCarryTheirHints)
{
    const struct {
        const char* box;
        int lines;
    } hints[] = {
        {"DBCheckBoxEh15", 4}, {"DBCheckBoxEh1", 3},  {"DBCheckBoxEh2", 2},  {"DBCheckBoxEh3", 3},
        {"DBCheckBoxEh4", 3},  {"DBCheckBoxEh5", 1},  {"DBCheckBoxEh6", 1},  {"DBCheckBoxEh7", 5},
        {"DBCheckBoxEh8", 6},  {"DBCheckBoxEh9", 4},  {"DBCheckBoxEh10", 1}, {"DBCheckBoxEh11", 3},
        {"DBCheckBoxEh12", 3}, {"DBCheckBoxEh13", 5}, {"DBCheckBoxEh14", 1},
    };
    for (const auto& h : hints) {
        SCOPED_TRACE(h.box);
        const QString hint = forms::conditionHint(control<QCheckBox>(h.box)->text());
        const QStringList lines = hint.split(QStringLiteral("\n\r"));
        EXPECT_EQ(lines.size(), h.lines);
        for (int i = 0; i < lines.size(); ++i) {
            const bool note =
                QStringLiteral("Helpless") == control<QCheckBox>(h.box)->text() && i == 2;
            EXPECT_TRUE(lines[i].startsWith(note ? "Note: " : "- ")) << lines[i].toStdString();
        }
        EXPECT_FALSE(control(h.box)->toolTip().isEmpty());
    }
    EXPECT_EQ(forms::conditionHint("Surprised"), forms::conditionHint("Stunned"));
    EXPECT_TRUE(boxes.shown.empty());
}

// ---------------------------------------------------------------- failed starts

struct BadStart {
    const char* what;
    std::function<void(testing_support::PartyFile&)> spoil;
    const char* message; // what the error box says, the folder standing for %
    const char* open;    // the datasets open after it: Roster, Money sums, Inventory, Weight
};

// A party file's first bytes, then bytes that are no database at all.
std::string withBody(const std::string& head, std::size_t headBytes, std::size_t bodyBytes)
{
    std::string bytes = head.substr(0, headBytes);
    std::uint32_t x = 2463534242u;
    for (std::size_t i = 0; i < bodyBytes; ++i) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        bytes += static_cast<char>(x >> 24);
    }
    return bytes;
}
void overwrite(const testing_support::PartyFile& f, const std::string& bytes)
{
    std::ofstream(f.path(), std::ios::binary | std::ios::trunc) << bytes;
}

TEST(MainWindowStart, EachFailedStartShowsOneErrorAndTheWindow)
{
    const BadStart cases[] = {
        {"no file", [](auto& f) { std::filesystem::remove(f.path()); },
         "Could not find file '%/Mirel.mdb'.", "----"},
        {"empty file", [](auto& f) { std::ofstream(f.path(), std::ios::trunc); },
         "Could not open '%/Mirel.mdb': the file is empty, not a party file.", "----"},
        {"text file", [](auto& f) { std::ofstream(f.path(), std::ios::trunc) << "not a party"; },
         "Could not open '%/Mirel.mdb': file is not a database.", "----"},
        {"truncated", [](auto& f) { overwrite(f, f.bytes().substr(0, 3000)); },
         "Could not open '%/Mirel.mdb': database disk image is malformed.", "----"},
        {"random bytes behind a valid header",
         [](auto& f) { overwrite(f, withBody(f.bytes(), 100, 16284)); },
         "Could not open '%/Mirel.mdb': database disk image is malformed.", "----"},
        {"no roster", [](auto& f) { f.sql("DROP VIEW SumMoney; DROP TABLE Table1"); },
         "no such table: Table1.", "----"},
        {"no money sums", [](auto& f) { f.sql("DROP VIEW SumMoney"); }, "no such table: SumMoney.",
         "R---"},
        {"no inventory", [](auto& f) { f.sql("DROP VIEW Weight; DROP TABLE Inventory"); },
         "no such table: Inventory.", "RM--"},
        {"no weight query", [](auto& f) { f.sql("DROP VIEW Weight"); }, "no such table: Weight.",
         "RMI-"},
        {"a roster column missing", [](auto& f) { f.sql("ALTER TABLE Table1 DROP COLUMN Prone"); },
         "ADOTable1: Field 'Prone' not found.", "----"},
        {"a column of the wrong type",
         [](auto& f) {
             f.sql("ALTER TABLE Table1 RENAME COLUMN TempHP TO OldTempHP;"
                   "ALTER TABLE Table1 ADD COLUMN TempHP TEXT");
         },
         "ADOTable1: Type mismatch for field 'TempHP', expecting: Integer actual: WideString.",
         "----"},
    };
    for (const BadStart& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::PartyFile file;
        file.sql("INSERT INTO Table1 (Name) VALUES ('Aldric')");
        c.spoil(file);
        const std::string before = file.bytes();
        testing_support::ScriptedMessageBoxes boxes;
        {
            TForm1 window(nullptr, QString::fromStdString((file.folder() / "Tavrix").string()));
            window.show();
            std::string expected = c.message;
            if (const auto at = expected.find('%'); at != std::string::npos)
                expected.replace(at, 1, file.folder().string());
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
            EXPECT_EQ(boxes.shown[0].caption, "Tavrix");
            EXPECT_EQ(boxes.shown[0].text.toStdString(), expected);
            EXPECT_TRUE(window.isVisible());
            const std::string open{
                window.ADOTable1.active() ? 'R' : '-', window.ADOTable2.active() ? 'M' : '-',
                window.ADOTable3.active() ? 'I' : '-', window.ADOTable4.active() ? 'W' : '-'};
            EXPECT_EQ(open, c.open);
            // The conditions carry no hints after a failed start.
            EXPECT_TRUE(window.findChild<QWidget*>("DBCheckBoxEh8")->toolTip().isEmpty());
            if (!window.ADOTable1.active()) {
                QTest::mouseClick(window.findChild<QAbstractButton*>("Button7"), Qt::LeftButton);
                ASSERT_EQ(boxes.shown.size(), 2u);
                EXPECT_EQ(boxes.shown[1].text,
                          "ADOTable1: Cannot perform this operation on a closed dataset.");
            }
        }
        EXPECT_EQ(file.bytes(), before);
    }
}

// ---------------------------------------------------------------- conditions and keys

class MainWindowConditions : public MainWindow {};

TEST_F(MainWindowConditions, ATickedBoxIsWrittenWhenTheRosterMoves)
{
    auto* prone = control<ui::DBCheckBox>("DBCheckBoxEh8");
    QTest::mouseClick(prone, Qt::LeftButton);
    EXPECT_TRUE(prone->isChecked());
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(window->ADOTable1.fieldByName("Effects").displayText(), "Pr");
    EXPECT_EQ(row("Prone", "Aldric"), "0"); // not yet written
    selectRow(1);
    EXPECT_EQ(row("Prone", "Aldric"), "1");
    EXPECT_FALSE(prone->isChecked()); // Brynn's value, nothing written for her
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Browse);
    EXPECT_EQ(row("Prone", "Brynn"), "0");
}

TEST_F(MainWindowConditions, ApplyWithNothingTypedPostsTheTickedBoxToo)
{
    QTest::mouseClick(control<ui::DBCheckBox>("DBCheckBoxEh8"), Qt::LeftButton);
    click("Button5");
    EXPECT_EQ(row("Prone, CurHP", "Aldric"), "1/30");
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Browse);
}

TEST_F(MainWindowConditions, ClosingTheWindowKeepsATickedBox)
{
    QTest::mouseClick(control<ui::DBCheckBox>("DBCheckBoxEh1"), Qt::LeftButton);
    window->close();
    window.reset();
    EXPECT_EQ(row("Dazed", "Aldric"), "1");
}

TEST_F(MainWindowConditions, EnterInAnyHitPointEditApplies)
{
    const struct {
        const char* edit;
        Qt::KeyboardModifiers modifiers;
        const char* after; // CurHP/TempHP of Aldric
    } cases[] = {
        {"Edit1", Qt::NoModifier, "27/0"},
        {"Edit2", Qt::ShiftModifier, "33/0"},
        {"Edit3", Qt::ControlModifier, "30/3"},
        {"Edit1", Qt::AltModifier, "27/0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        file.sql("UPDATE Table1 SET CurHP = 30, TempHP = 0 WHERE Name = 'Aldric'");
        window->ADOTable1.reopen();
        type(c.edit, "3");
        QTest::keyClick(control(c.edit), Qt::Key_Return, c.modifiers);
        EXPECT_EQ(row("CurHP, TempHP", "Aldric"), c.after);
        EXPECT_TRUE(control<QLineEdit>(c.edit)->text().isEmpty());
    }
}

TEST_F(MainWindowConditions, BadEntriesWarnInOrderAndTheLastBadEditHasTheFocus)
{
    type("Edit1", "abc");
    type("Edit2", "5");
    type("Edit3", "1x"); // "x1" would be hexadecimal 1
    click("Button5");
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"abc is not numeric value", "1x is not numeric value"}));
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Warning);
    EXPECT_EQ(row("CurHP", "Aldric"), "35");
    for (const char* e : {"Edit1", "Edit2", "Edit3"})
        EXPECT_TRUE(control<QLineEdit>(e)->text().isEmpty()) << e;
    EXPECT_EQ(QApplication::focusWidget(), control("Edit3"));
}

// ---------------------------------------------------------------- the roster grid

TEST_F(MainWindowConditions, RowsAreColouredByTheirHitPoints)
{
    const struct {
        int total, cur;
        QRgb colour;
    } cases[] = {
        {20, 11, qRgb(240, 251, 255)}, {20, 10, qRgb(255, 0, 0)},     {20, 1, qRgb(255, 0, 0)},
        {20, 0, qRgb(0, 255, 255)},    {20, -3, qRgb(0, 255, 255)},   {7, 4, qRgb(240, 251, 255)},
        {7, 3, qRgb(255, 0, 0)},       {-5, -1, qRgb(240, 251, 255)},
    };
    auto* grid = control<ui::DataGrid>("DBGridEh1");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cur) + " of " + std::to_string(c.total));
        file.sql("UPDATE Table1 SET TotalHP = " + std::to_string(c.total) +
                 ", CurHP = " + std::to_string(c.cur) + " WHERE Name = 'Brynn'");
        window->ADOTable1.reopen();
        selectRow(1); // the selected row shows the same colour as the others
        const QImage image = grid->grab().toImage();
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        const QPoint inside =
            grid->viewport()->mapTo(grid, cell.topLeft() + QPoint(cell.width() - 3, 3));
        EXPECT_EQ(image.pixel(inside) & 0xFFFFFF, c.colour & 0xFFFFFF);
    }
    file.sql("UPDATE Table1 SET TotalHP = NULL, CurHP = NULL WHERE Name = 'Brynn'");
    window->ADOTable1.reopen();
    const QImage image = grid->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    EXPECT_EQ(
        image.pixel(grid->viewport()->mapTo(grid, cell.topLeft() + QPoint(cell.width() - 3, 3))) &
            0xFFFFFF,
        qRgb(0, 255, 255) & 0xFFFFFF);
}

TEST_F(MainWindowConditions, RangeInitiativeHoldsUntilTheRosterIsReopened)
{
    click("Button4");
    const auto names = [&] {
        std::vector<std::string> out;
        for (int i = 0; i < window->ADOTable1.recordCount(); ++i)
            out.push_back(window->ADOTable1.withRecord(
                i, [&] { return window->ADOTable1.fieldByName("Name").displayText(); }));
        return out;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"Brynn", "Goblin.1", "Aldric"}));
    EXPECT_EQ(window->ADOTable1.fieldByName("Name").displayText(), "Aldric"); // still current
    click("Button4");
    EXPECT_EQ(names(), (std::vector<std::string>{"Brynn", "Goblin.1", "Aldric"}));
    window->ADOTable1.reopen();
    EXPECT_EQ(names(), (std::vector<std::string>{"Aldric", "Brynn", "Goblin.1"}));
}

TEST_F(MainWindowConditions, TheGridChangesNothing)
{
    auto* grid = control("DBGridEh1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClicks(grid, "Zed");
    EXPECT_EQ(file.scalar("SELECT group_concat(Name) FROM Table1"), "Aldric,Brynn,Goblin.1");
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Browse);
}

} // namespace
