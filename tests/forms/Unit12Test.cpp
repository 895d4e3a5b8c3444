// The Dice window: its layout, its rolls and its spin edit, driven as a person would.
#include "forms/Unit12.h"

#include "tests/support/AccessiblePress.h"
#include "ui/Random.h"
#include "ui/SpinEdit.h"

#include <QAccessible>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using forms::TForm12;

namespace {

struct ButtonRow {
    const char* name;
    const char* caption;
    int sides;
    QRect geometry;
};

const ButtonRow diceButtons[] = {
    {"Button1", "1d4", 4, {8, 40, 40, 25}},      {"Button2", "1d6", 6, {52, 40, 40, 25}},
    {"Button3", "1d8", 8, {96, 40, 40, 25}},     {"Button4", "1d10", 10, {140, 40, 40, 25}},
    {"Button10", "1d12", 12, {184, 40, 40, 25}}, {"Button7", "1d100", 100, {228, 40, 40, 25}},
    {"Button6", "1d20", 20, {272, 40, 40, 25}},
};

// The rolls a roll text lists, and whether its sum is theirs.
std::vector<int> rollsOf(const QString& text, bool* sumMatches = nullptr)
{
    const QStringList halves = text.split(QLatin1Char('='));
    std::vector<int> rolls;
    if (halves.size() != 2) return rolls;
    int sum = 0;
    for (const QString& r : halves[1].split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        rolls.push_back(r.toInt());
        sum += r.toInt();
    }
    if (sumMatches) *sumMatches = halves[0] == QString::number(sum);
    return rolls;
}

// The main window stands in as a plain owner; every Dice window is its child.
class DiceWindowTest : public ::testing::Test {
protected:
    TForm12* open()
    {
        auto* w = new TForm12(&owner);
        w->show();
        return w;
    }
    TForm12* openActive()
    {
        TForm12* w = open();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        return w;
    }
    // Types into the spin edit as a person does: click it, select all, type.
    static void typeCount(TForm12* w, const QString& text)
    {
        ui::SpinEdit* spin = w->SpinEdit1();
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
    }
    static void click(TForm12* w, const char* name)
    {
        QAbstractButton* b = w->button(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QWidget owner;
};

} // namespace

TEST_F(DiceWindowTest, IsLaidOutAsTheTableSays)
{
    TForm12* w = open();
    EXPECT_EQ(w->objectName(), "TForm12");
    EXPECT_EQ(w->windowTitle(), "Dice");
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->parentWidget(), &owner);
    EXPECT_EQ(w->size(), QSize(317, 142)); // 325 x 176 outside, with a frame of 8 by 34 pixels
    EXPECT_EQ(w->pos(), QPoint(216, 124));
    EXPECT_NE(w->minimumSize(), w->maximumSize()); // sizeable
    EXPECT_EQ(w->font().pixelSize(), 11);
    EXPECT_EQ(w->font().families(), QStringList{"Liberation Sans"});
    EXPECT_EQ(QFontInfo(w->font()).family(), "Liberation Sans");

    for (const auto& row : diceButtons) {
        QAbstractButton* b = w->button(QString::fromLatin1(row.name));
        ASSERT_NE(b, nullptr) << row.name;
        EXPECT_EQ(b->text(), row.caption) << row.name;
        EXPECT_EQ(b->geometry(), row.geometry) << row.name;
        EXPECT_EQ(b->font().pixelSize(), 11) << row.name;
    }
    // "1d100" stands left of "1d20".
    EXPECT_LT(w->button("Button7")->x(), w->button("Button6")->x());
    QAbstractButton* close = w->button("Button8");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    EXPECT_EQ(close->geometry(), QRect(4, 112, 75, 25));

    auto* label2 = w->findChild<QLabel*>("Label2");
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label2->text(), "How many dice");
    EXPECT_EQ(label2->pos(), QPoint(4, 20));
    EXPECT_EQ(label2->buddy(), w->SpinEdit1());
    EXPECT_GE(label2->width(), QFontMetrics(label2->font()).horizontalAdvance(label2->text()));
    EXPECT_LE(label2->geometry().right(), 84); // clear of the spin edit

    ui::SpinEdit* spin = w->SpinEdit1();
    EXPECT_EQ(spin->objectName(), "SpinEdit1");
    EXPECT_EQ(spin->geometry(), QRect(84, 12, 73, 22));
    EXPECT_EQ(spin->minValue(), 1);
    EXPECT_EQ(spin->maxValue(), 10);
    EXPECT_EQ(spin->text(), "1");

    QLabel* label1 = w->Label1();
    EXPECT_EQ(label1->objectName(), "Label1");
    EXPECT_EQ(label1->text(), "0");
    EXPECT_EQ(label1->pos(), QPoint(8, 72));
    EXPECT_TRUE(label1->wordWrap());
    EXPECT_EQ(label1->font().pixelSize(), 32);
    EXPECT_TRUE(label1->font().bold());
    EXPECT_EQ(label1->font().families(), QStringList{"Liberation Serif"});
    EXPECT_EQ(QFontInfo(label1->font()).family(), "Liberation Serif");
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(QFontInfo(label1->font()).pixelSize(), 32);
    EXPECT_EQ(label1->height(), QFontMetrics(label1->font()).height());
}

TEST_F(DiceWindowTest, TheTabOrderIsTheTables)
{
    TForm12* w = open();
    const QStringList expected = {"Button1", "Button2", "Button3",  "Button4",  "Button6",
                                  "Button7", "Button8", "Button10", "SpinEdit1"};
    QWidget* at = w->button("Button1");
    QStringList order;
    for (int i = 0; i < expected.size(); ++i) {
        order << at->objectName();
        do
            at = at->nextInFocusChain();
        while (!(at->focusPolicy() & Qt::TabFocus) || at->parentWidget() != w ||
               !at->isVisibleTo(w));
    }
    EXPECT_EQ(order, expected);
    EXPECT_EQ(at->objectName(), "Button1"); // and round again
}

TEST_F(DiceWindowTest, TheRollTextIsTheSumThenEveryRoll)
{
    EXPECT_EQ(TForm12::rollText({7}), "7=7");
    EXPECT_EQ(TForm12::rollText({4, 2, 6}), "12=4+2+6");
    EXPECT_EQ(TForm12::rollText({}), "0=");
}

TEST_F(DiceWindowTest, OneDieOfTwentyShowsItsRollTwice)
{
    TForm12* w = open();
    ui::random::seed(31);
    const int expected = ui::random::below(20) + 1;
    ui::random::seed(31);
    click(w, "Button6");
    EXPECT_EQ(w->Label1()->text(), QStringLiteral("%1=%1").arg(expected));
    EXPECT_EQ(w->SpinEdit1()->text(), "1"); // the spin edit keeps its value
}

TEST_F(DiceWindowTest, TenDiceOfAHundredAreJoinedByNinePlusSigns)
{
    TForm12* w = openActive();
    typeCount(w, "10");
    ui::random::seed(4242);
    std::vector<int> expected;
    for (int i = 0; i < 10; ++i)
        expected.push_back(ui::random::below(100) + 1);
    ui::random::seed(4242);
    click(w, "Button7");
    const QString text = w->Label1()->text();
    EXPECT_EQ(text.count(QLatin1Char('+')), 9);
    EXPECT_EQ(text, TForm12::rollText(expected));
    EXPECT_FALSE(text.contains(QLatin1Char(' ')));
    bool sumMatches = false;
    const auto rolls = rollsOf(text, &sumMatches);
    EXPECT_TRUE(sumMatches);
    for (const int r : rolls) {
        EXPECT_GE(r, 1);
        EXPECT_LE(r, 100);
    }
    EXPECT_EQ(w->SpinEdit1()->text(), "10");
    // The label stands on one line, as wide as its text, and the window has grown to show
    // every roll in full.
    const QFontMetrics fm(w->Label1()->font());
    EXPECT_GE(w->Label1()->width(), fm.horizontalAdvance(text));
    EXPECT_EQ(w->Label1()->height(), fm.height());
    EXPECT_TRUE(w->rect().contains(w->Label1()->geometry()))
        << w->width() << " " << w->Label1()->geometry().right();
}

TEST_F(DiceWindowTest, AssistiveTechnologyHearsTheRollText)
{
    TForm12* w = openActive();
    QAccessibleInterface* roll = QAccessible::queryAccessibleInterface(w->Label1());
    ASSERT_NE(roll, nullptr);
    EXPECT_EQ(roll->text(QAccessible::Name), "Roll");
    EXPECT_EQ(roll->text(QAccessible::Value), "0");
    typeCount(w, "3");
    click(w, "Button6");
    ASSERT_NE(w->Label1()->text(), "0");
    EXPECT_EQ(roll->text(QAccessible::Name), "Roll");
    EXPECT_EQ(roll->text(QAccessible::Value), w->Label1()->text());
}

TEST_F(DiceWindowTest, EveryButtonRollsDiceOfTheSidesItsCaptionGives)
{
    TForm12* w = openActive();
    typeCount(w, "3");
    for (const auto& row : diceButtons) {
        ui::random::seed(1000 + row.sides);
        std::vector<int> expected;
        for (int i = 0; i < 3; ++i)
            expected.push_back(ui::random::below(row.sides) + 1);
        ui::random::seed(1000 + row.sides);
        click(w, row.name);
        EXPECT_EQ(w->Label1()->text(), TForm12::rollText(expected)) << row.caption;
    }
}

TEST_F(DiceWindowTest, EveryKindRollsFromOneToItsSidesWithEveryValueSeen)
{
    TForm12* w = openActive();
    typeCount(w, "10");
    ui::random::seed(8);
    for (const auto& row : diceButtons) {
        std::set<int> seen;
        const int clicks = row.sides * 6;
        for (int i = 0; i < clicks; ++i) {
            w->Button1Click(w->button(QString::fromLatin1(row.name)));
            bool sumMatches = false;
            const auto rolls = rollsOf(w->Label1()->text(), &sumMatches);
            ASSERT_EQ(rolls.size(), 10u) << row.caption;
            ASSERT_TRUE(sumMatches) << w->Label1()->text().toStdString();
            for (const int r : rolls) {
                ASSERT_GE(r, 1) << row.caption;
                ASSERT_LE(r, row.sides) << row.caption;
                seen.insert(r);
            }
        }
        EXPECT_EQ(static_cast<int>(seen.size()), row.sides) << row.caption;
    }
}

TEST_F(DiceWindowTest, TwentyFiveBecomesTenWhenADiceButtonIsClicked)
{
    TForm12* w = openActive();
    typeCount(w, "25");
    EXPECT_EQ(w->SpinEdit1()->text(), "25");
    click(w, "Button2"); // "1d6" takes the focus: the spin edit brings 25 into range first
    EXPECT_EQ(w->SpinEdit1()->text(), "10");
    const auto rolls = rollsOf(w->Label1()->text());
    EXPECT_EQ(rolls.size(), 10u);
    for (const int r : rolls) {
        EXPECT_GE(r, 1);
        EXPECT_LE(r, 6);
    }
}

TEST_F(DiceWindowTest, APressThatLeavesTheFocusInTheCountStillRollsAtMostTen)
{
    // Assistive technology presses a button without moving the focus: the count is never left,
    // so the roll must bring it into range itself instead of rolling two thousand million dice.
    TForm12* w = openActive();
    typeCount(w, "2147483647");
    testing_support::pressAsAssistiveTechnology(w->button("Button1"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->Label1()->text() != "0"; }));
    EXPECT_EQ(QApplication::focusWidget(), w->SpinEdit1());
    EXPECT_EQ(w->SpinEdit1()->text(), "10");
    EXPECT_EQ(rollsOf(w->Label1()->text()).size(), 10u);
}

TEST_F(DiceWindowTest, ALoneMinusRollsOneDieAndStays)
{
    TForm12* w = openActive();
    typeCount(w, "-");
    EXPECT_EQ(w->SpinEdit1()->text(), "-");
    click(w, "Button3"); // "1d8"
    EXPECT_EQ(w->SpinEdit1()->text(), "-");
    const auto rolls = rollsOf(w->Label1()->text());
    ASSERT_EQ(rolls.size(), 1u);
    EXPECT_GE(rolls[0], 1);
    EXPECT_LE(rolls[0], 8);
}

TEST_F(DiceWindowTest, TheSpinEditStepsAndRefusesAsItShould)
{
    TForm12* w = openActive();
    ui::SpinEdit* spin = w->SpinEdit1();
    typeCount(w, "9");
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "10");
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "9");
    QTest::keyClicks(spin, "a");
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(spin->text(), "9");
    EXPECT_EQ(w->Label1()->text(), "0"); // Enter rolls nothing
}

TEST_F(DiceWindowTest, TwoWindowsRollIndependentlyAtTheSamePlace)
{
    TForm12* first = openActive();
    TForm12* second = openActive();
    EXPECT_EQ(first->pos(), second->pos());
    EXPECT_EQ(first->geometry(), second->geometry());

    second->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(second));
    typeCount(second, "4");
    click(second, "Button1");
    const QString secondText = second->Label1()->text();
    EXPECT_EQ(rollsOf(secondText).size(), 4u);
    EXPECT_EQ(first->Label1()->text(), "0");
    EXPECT_EQ(first->SpinEdit1()->text(), "1");

    first->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    click(first, "Button4");
    EXPECT_EQ(rollsOf(first->Label1()->text()).size(), 1u);
    EXPECT_EQ(second->Label1()->text(), secondText);
    EXPECT_EQ(second->SpinEdit1()->text(), "4");
}

TEST_F(DiceWindowTest, CreatingAWindowSeedsTheGeneratorFromTheClock)
{
    ui::random::seed(5);
    std::vector<int> fixed;
    for (int i = 0; i < 4; ++i)
        fixed.push_back(ui::random::below(1000000));
    ui::random::seed(5);
    open();
    std::vector<int> after;
    for (int i = 0; i < 4; ++i)
        after.push_back(ui::random::below(1000000));
    EXPECT_NE(after, fixed);
}

TEST_F(DiceWindowTest, CloseHidesTheWindowWhichItsOwnerDestroys)
{
    auto* ownerWindow = new QWidget;
    QPointer<TForm12> w = new TForm12(ownerWindow);
    w->show();
    click(w, "Button8");
    ASSERT_FALSE(w.isNull());
    EXPECT_FALSE(w->isVisible());
    QPointer<TForm12> boxClosed = new TForm12(ownerWindow);
    boxClosed->show();
    boxClosed->close(); // the close box
    ASSERT_FALSE(boxClosed.isNull());
    EXPECT_FALSE(boxClosed->isVisible());
    delete ownerWindow;
    EXPECT_TRUE(w.isNull());
    EXPECT_TRUE(boxClosed.isNull());
}
