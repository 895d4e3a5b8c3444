#include "tests/forms/MainWindowFixture.h"
#include "tests/support/WriteFaults.h"
#include "ui/DBNavigator.h"

#include <QToolButton>

#include <sqlite3.h>

namespace {

using testing_support::MainWindow;

TEST_F(MainWindow, TheNavigatorOffersOnlyTheMovesThereAre)
{
    auto* navigator = control<ui::DBNavigator>("DBNavigator1");
    const auto enabled = [&] {
        std::string s;
        for (int i = 0; i < 4; ++i)
            s += navigator->button(i)->isEnabled() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(enabled(), "0011"); // on the first record
    QTest::mouseClick(navigator->button(2), Qt::LeftButton);
    EXPECT_EQ(window->ADOTable1.recNo(), 1);
    EXPECT_EQ(enabled(), "1111");
    QTest::mouseClick(navigator->button(3), Qt::LeftButton);
    EXPECT_EQ(window->ADOTable1.recNo(), 2);
    EXPECT_EQ(enabled(), "1100");
    QTest::mouseClick(navigator->button(0), Qt::LeftButton);
    EXPECT_EQ(window->ADOTable1.recNo(), 0);
    file.sql("DELETE FROM Table1");
    window->ADOTable1.reopen();
    EXPECT_EQ(enabled(), "0000");
    window->ADOTable1.close();
    EXPECT_EQ(enabled(), "0000");
}

TEST_F(MainWindow, AWriteLockHeldByAnotherProgramIsReportedAndNothingIsLost)
{
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    type("Edit1", "5");
    click("Button5"); // waits out the busy timeout, then gives up
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "database is locked.");
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(window->ADOTable1.fieldByName("CurHP").asInteger(), 25);
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    click("Button5"); // the lock is gone: the pending change is posted once
    EXPECT_EQ(row("CurHP", "Aldric"), "25");
}

TEST_F(MainWindow, AFullDiskIsReportedAndTheChangeIsPostedOnceThereIsRoomAgain)
{
    testing_support::WriteFaults disk;
    start(); // the window's connection goes through the disk that can fill up
    disk.arm(SQLITE_FULL);
    type("Edit1", "5");
    click("Button5");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ui::MessageKind::Error);
    EXPECT_EQ(boxes.shown[0].text, "database or disk is full.");
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(window->ADOTable1.fieldByName("CurHP").asInteger(), 25);
    EXPECT_EQ(row("CurHP", "Aldric"), "30");
    disk.disarm();
    click("Button5");
    EXPECT_EQ(row("CurHP", "Aldric"), "25");
    EXPECT_EQ(file.scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(boxes.shown.size(), 1u);
}

} // namespace
