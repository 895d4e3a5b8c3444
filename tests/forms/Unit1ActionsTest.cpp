#include "forms/Unit1.h"

#include "tests/forms/MainWindowFixture.h"
#include "ui/ArrowButton.h"

#include <QMenu>

namespace {

using testing_support::MainWindow;

class MainWindowActions : public MainWindow {
protected:
    void pickBonus(QMenu* menu, int bonus)
    {
        QAction* item = menu->actions().at(bonus);
        item->trigger();
    }
};

TEST_F(MainWindowActions, ABonusFromEitherMenuServesBothSurgeButtons)
{
    auto* useSurge = control<ui::ArrowButton>("JvArrowButton1");
    auto* applySurge = control<ui::ArrowButton>("JvArrowButton2");
    file.sql("UPDATE Table1 SET CurHP = 2 WHERE Name = 'Aldric'"); // TotalHP 40: a quarter is 10
    window->ADOTable1.reopen();
    pickBonus(window->PopupMenu1, 5);
    EXPECT_EQ(useSurge->text(), "Use HS with bonus 5");
    EXPECT_EQ(applySurge->text(),
              "Apply HS value with bonus 0"); // each menu changes its own caption
    EXPECT_EQ(window->SurgeBonus, 5);
    click("JvArrowButton2"); // heals by 15 without counting a surge
    EXPECT_EQ(row("CurHP, HealingSurgesUsed", "Aldric"), "17/0");
    pickBonus(window->PopupMenu2, 2);
    EXPECT_EQ(applySurge->text(), "Apply HS value with bonus 2");
    EXPECT_EQ(useSurge->text(), "Use HS with bonus 5");
    type("Edit1", "9"); // dropped: a surge heals only
    type("Edit3", "4");
    click("JvArrowButton1");
    EXPECT_EQ(row("CurHP, TempHP, HealingSurgesUsed", "Aldric"), "29/0/1");
    for (const char* e : {"Edit1", "Edit2", "Edit3"})
        EXPECT_TRUE(control<QLineEdit>(e)->text().isEmpty()) << e;
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowActions, SecondWindWorksOnceUntilARest)
{
    file.sql("UPDATE Table1 SET CurHP = 10 WHERE Name = 'Aldric'");
    window->ADOTable1.reopen();
    click("Button26");
    EXPECT_EQ(row("CurHP, HealingSurgesUsed, UsedSecondWind", "Aldric"), "20/1/1");
    type("Edit1", "3");
    click("Button26"); // used: nothing at all, the edit keeps its text
    EXPECT_EQ(row("CurHP, HealingSurgesUsed", "Aldric"), "20/1");
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), "3");
    click("Button6"); // short rest
    click("Button26");
    EXPECT_EQ(row("CurHP, HealingSurgesUsed, UsedSecondWind", "Aldric"), "30/2/1");
}

TEST_F(MainWindowActions, ASurgeWithoutMaximumHitPointsFailsBeforeWritingAnything)
{
    file.sql("UPDATE Table1 SET TotalHP = NULL WHERE Name = 'Aldric'");
    window->ADOTable1.reopen();
    type("Edit1", "4");
    type("Edit2", "6");
    click("JvArrowButton1");
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{
                                 "Could not convert variant of type (Null) into type (Integer)"}));
    EXPECT_TRUE(control<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), "6");
    EXPECT_EQ(row("CurHP, HealingSurgesUsed", "Aldric"), "30/0");
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Browse);
}

TEST_F(MainWindowActions, PersonalButtonsCountOnTheCurrentCharacter)
{
    const struct {
        const char* button;
        const char* fields;
        const char* after;
    } cases[] = {
        {"RbButton3", "Milestone, APoints", "1/1"},
        {"RbButton5", "UsedMilestone, UsedAPoints", "1/1"},
        {"RbButton4", "APoints", "2"},
        {"RbButton6", "UsedAPoints", "2"},
        {"Button23", "UsedEnc", "1"},
        {"Button24", "UsedDaily", "1"},
        {"Button25", "UsedDailyItem", "1"},
        {"Button7", "HealingSurgesUsed", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        click(c.button);
        EXPECT_EQ(row(c.fields, "Aldric"), c.after);
    }
    EXPECT_EQ(window->ADOTable1.fieldByName("AP").displayText(), "2(2)");
    click("Button11"); // extended rest
    EXPECT_EQ(row("APoints, UsedAPoints, Milestone, UsedEnc, HealingSurgesUsed, CurHP", "Aldric"),
              "1/0/0/0/0/40");
}

TEST_F(MainWindowActions, GroupButtonsWalkThePlayerCharactersOnly)
{
    click("RbButton2"); // group "Add AP"
    EXPECT_EQ(row("APoints", "Aldric"), "1");
    EXPECT_EQ(row("APoints", "Brynn"), "1");
    EXPECT_EQ(row("APoints", "Goblin.1"), "0");
    EXPECT_EQ(window->ADOTable1.recNo(), 2); // the cursor ends on the last record
    file.sql("UPDATE Table1 SET Stunned = 1, CurHP = 1");
    window->ADOTable1.reopen();
    click("Button17"); // group extended rest
    EXPECT_EQ(row("CurHP, Stunned", "Aldric"), "40/0");
    EXPECT_EQ(row("CurHP, Stunned", "Goblin.1"), "1/1");
}

} // namespace
