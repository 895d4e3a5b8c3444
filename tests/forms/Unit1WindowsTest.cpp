// The windows the main window opens without touching the party: Dice, About, and its own die.
#include "forms/Unit1.h"
#include "forms/Unit12.h"
#include "forms/Unit5.h"
#include "tests/forms/MainWindowFixture.h"
#include "ui/DecorativeDie.h"
#include "ui/Random.h"
#include "ui/SpinEdit.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <sstream>

namespace {

using forms::TAboutBox;
using forms::TForm12;

class MainWindowOpens : public testing_support::MainWindow {
protected:
    std::string partyBytes()
    {
        std::ifstream in(file.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
};

TEST_F(MainWindowOpens, EveryDiceClickOpensAnotherWindowThatRollsOnItsOwn)
{
    click("Dice");
    click("Dice");
    const QList<TForm12*> dice = window->findChildren<TForm12*>();
    ASSERT_EQ(dice.size(), 2);
    for (TForm12* d : dice) {
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(d->isWindow());
        EXPECT_EQ(d->parentWidget(), window.get());
        EXPECT_EQ(d->frameGeometry().topLeft(), QPoint(TForm12::firstLeft, TForm12::firstTop));
    }

    ui::random::seed(7);
    dice[0]->SpinEdit1()->setValue(3);
    QTest::mouseClick(dice[0]->button("Button2"), Qt::LeftButton);
    EXPECT_TRUE(dice[0]->Label1()->text().contains('='));
    EXPECT_EQ(dice[0]->Label1()->text().count('+'), 2);
    EXPECT_EQ(dice[1]->Label1()->text(), "0");

    // A closed window stays hidden; the next click makes a new one.
    QTest::mouseClick(dice[0]->button("Button8"), Qt::LeftButton);
    EXPECT_FALSE(dice[0]->isVisible());
    click("Dice");
    EXPECT_EQ(window->findChildren<TForm12*>().size(), 3);
    EXPECT_FALSE(dice[0]->isVisible());
}

TEST_F(MainWindowOpens, EveryPictureButtonClickOpensAnotherAboutWindow)
{
    const std::string before = partyBytes();
    click("SpeedButton1");
    click("SpeedButton1");
    const QList<TAboutBox*> boxes = window->findChildren<TAboutBox*>();
    ASSERT_EQ(boxes.size(), 2);
    for (TAboutBox* box : boxes) {
        EXPECT_TRUE(box->isVisible());
        EXPECT_FALSE(box->isModal());
        EXPECT_EQ(box->Version()->text(), "Version " TAVRIX_TEST_PROJECT_VERSION);
    }
    QTest::mouseClick(boxes[0]->OKButton(), Qt::LeftButton);
    EXPECT_FALSE(boxes[0]->isVisible());
    EXPECT_TRUE(boxes[1]->isVisible());
    EXPECT_EQ(partyBytes(), before);
}

TEST_F(MainWindowOpens, TheDieRotatesFromOneClickToTheNext)
{
    auto* die = control<ui::DecorativeDie>("JvDice1");
    EXPECT_FALSE(die->rotate());
    EXPECT_EQ(die->value(), 5);
    QTest::mouseClick(die, Qt::LeftButton);
    EXPECT_TRUE(die->rotate());
    QTest::qWait(3 * ui::DecorativeDie::tickMs);
    QTest::mouseClick(die, Qt::LeftButton);
    EXPECT_FALSE(die->rotate());
    const int shown = die->value();
    QTest::qWait(3 * ui::DecorativeDie::tickMs);
    EXPECT_EQ(die->value(), shown);
}

} // namespace
