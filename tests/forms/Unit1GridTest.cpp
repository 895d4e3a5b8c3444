// The roster grid at its edges: widths the master drags, cells too narrow for their text, and
// what assistive technology reads of them; the navigator from the keyboard.
#include "forms/Unit1.h"

#include "tests/forms/MainWindowFixture.h"
#include "ui/DBNavigator.h"
#include "ui/DataGrid.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolButton>
#include <QToolTip>

namespace {

class RosterGrid : public testing_support::MainWindow {
protected:
    const char* party() const override
    {
        return "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, PC, Prone, Dazed, "
               "Marked, Slowed, Weakened) VALUES "
               "('Aldric', 40, 30, 0, 3, 1, 0, 0, 0, 0, 0), "
               "('Brynnhildur Stormcaller of the Northern Reaches', 31, 31, 5, 7, 1, 1, 1, 1, 1, "
               "1), ('Goblin.1', 1000, -1000, 300, 5, 0, 0, 0, 0, 0, 0);"
               "UPDATE Table1 SET Blinded = 1, Dominated = 1, Helpless = 1, Immobilized = 1, "
               "Petrified = 1, Restrained = 1, Stunned = 1, Unconscious = 1 WHERE Name LIKE "
               "'Brynn%'";
    }
    ui::DataGrid* grid() { return control<ui::DataGrid>("DBGridEh1"); }
    int column(const char* title)
    {
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            if (grid()->model()->headerData(c, Qt::Horizontal).toString() == title) return c;
        ADD_FAILURE() << title;
        return 0;
    }
    // The tooltip a person resting the mouse on a cell sees; empty when none shows.
    QString tooltipOf(int row, int col)
    {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        const QRect cell = grid()->visualRect(grid()->model()->index(row, col));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        grid()->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid()->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(RosterGrid, DraggedWidthsLastThroughSortsAndReopens)
{
    QHeaderView* header = grid()->horizontalHeader();
    const int name = column("Name"), effects = column("Effects");
    // A drag of the right border of "Name", as the master does it.
    const int border = header->sectionViewportPosition(name) + header->sectionSize(name) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(border, y));
    QTest::mouseMove(header->viewport(), QPoint(border + 60, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(border + 60, y));
    ASSERT_EQ(header->sectionSize(name), 160);
    header->resizeSection(effects, 140);

    click("Button4"); // Range Initiative
    EXPECT_EQ(header->sectionSize(name), 160);
    EXPECT_EQ(header->sectionSize(effects), 140);
    window->ADOTable1.reopen();
    EXPECT_EQ(header->sectionSize(name), 160);
    EXPECT_EQ(header->sectionSize(effects), 140);
    EXPECT_EQ(header->sectionSize(column("HP")), 50);
}

TEST_F(RosterGrid, ACellTooNarrowShowsItsWholeTextAsTooltipAndToAssistiveTechnology)
{
    const int name = column("Name"), hp = column("HP"), effects = column("Effects"),
              ac = column("AC");
    const QString longName = QStringLiteral("Brynnhildur Stormcaller of the Northern Reaches");
    struct Case {
        int row, col;
        QString whole;
        bool cut;
    };
    const Case cases[] = {
        {1, name, longName, true},
        {2, hp, QStringLiteral("-1000(1000) +300"), true},
        {1, effects,
         QString::fromStdString(window->ADOTable1.withRecord(
             1, [&] { return window->ADOTable1.fieldByName("Effects").displayText(); })),
         true},
        {0, name, QStringLiteral("Aldric"), false},
        {0, ac, QStringLiteral("0"), false},
    };
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid());
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.whole.toStdString());
        EXPECT_EQ(grid()->cutText(c.row, c.col), c.cut ? c.whole : QString());
        EXPECT_EQ(tooltipOf(c.row, c.col), c.cut ? c.whole : QString());
        QAccessibleInterface* cell = table->tableInterface()->cellAt(c.row, c.col);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), c.whole);
    }
    EXPECT_GT(cases[2].whole.size(), 10); // a long Effects text indeed
    // "Used SW" shows a check-box picture: its value reaches assistive technology as a text.
    QAccessibleInterface* usedSW = table->tableInterface()->cellAt(0, column("Used SW"));
    ASSERT_NE(usedSW, nullptr);
    EXPECT_FALSE(usedSW->text(QAccessible::Name).isEmpty());
}

TEST_F(RosterGrid, TheNavigatorIsTheSeventhStopAndWorksFromTheKeyboard)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* navigator = control<ui::DBNavigator>("DBNavigator1");
    // After the money box's "Apply" (tab 6) comes the navigator (7), then the inventory (8).
    control("Button8")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), navigator);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "DBGrid1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), navigator);

    ASSERT_EQ(window->ADOTable1.recNo(), 0);
    QTest::keyClick(navigator, Qt::Key_End); // "Last"
    EXPECT_EQ(navigator->chosenButton(), 3);
    QTest::keyClick(navigator, Qt::Key_Return);
    EXPECT_EQ(window->ADOTable1.recNo(), 2);
    QTest::keyClick(navigator, Qt::Key_Left); // "Next", disabled on the last record
    QTest::keyClick(navigator, Qt::Key_Space);
    EXPECT_EQ(window->ADOTable1.recNo(), 2);
    QTest::keyClick(navigator, Qt::Key_Left); // "Prior"
    QTest::keyClick(navigator, Qt::Key_Space);
    EXPECT_EQ(window->ADOTable1.recNo(), 1);
    QTest::keyClick(navigator, Qt::Key_Home); // "First"
    QTest::keyClick(navigator, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(window->ADOTable1.recNo(), 0);
    EXPECT_EQ(navigator->focusPolicy() & Qt::ClickFocus, 0); // a click takes no focus
    EXPECT_EQ(navigator->accessibleName(), "Roster navigator");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(navigator->button(i)->focusPolicy(), Qt::NoFocus);
}

} // namespace
