#include "tests/forms/MainWindowFixture.h"
#include "tests/support/WriteFaults.h"
#include "ui/DBNavigator.h"

#include "store/PartySchema.h"

#include <QFile>
#include <QToolButton>

#include <sqlite3.h>

#include <filesystem>

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
    EXPECT_EQ(boxes.shown[0].text,
              "Another program is using the party file, so the change could not be saved yet; it "
              "is kept and will be tried again with the next save.");
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
    EXPECT_EQ(boxes.shown[0].text,
              QString::fromStdString("The disk holding '" + file.path() +
                                     "' is full, so the change was not saved; free some space "
                                     "and try again."));
    EXPECT_EQ(window->ADOTable1.state(), store::DatasetState::Edit);
    EXPECT_EQ(window->ADOTable1.fieldByName("CurHP").asInteger(), 25);
    EXPECT_EQ(row("CurHP", "Aldric"), "30");
    disk.disarm();
    click("Button5");
    EXPECT_EQ(row("CurHP", "Aldric"), "25");
    EXPECT_EQ(file.scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(boxes.shown.size(), 1u);
}

// A folder whose name is not valid UTF-8: the window opens that folder's party file, through
// the name's own bytes, or says it cannot find it; never another file.
TEST_F(MainWindow, AFolderNamedInBytesThatAreNotUtf8OpensItsOwnPartyFileOrSaysSo)
{
    window.reset();
    const std::string folder = file.folder().string() + "/caf\xe9-\xff";
    std::filesystem::create_directory(folder);
    store::createPartyFile(folder + "/Mirel.mdb", true);
    const QString executable = QFile::decodeName(QByteArray::fromStdString(folder + "/Tavrix"));
    boxes.shown.clear();
    window = std::make_unique<TForm1>(nullptr, executable);
    if (QFile::encodeName(executable).toStdString() == folder + "/Tavrix") {
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(window->ADOConnection1.databasePath(), folder + "/Mirel.mdb");
        EXPECT_EQ(window->ADOTable1.fieldByName("Name").asString(), "Aldric");
    }
    else {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].text.startsWith("Could not find file"))
            << boxes.shown[0].text.toStdString();
        EXPECT_FALSE(window->ADOConnection1.connected());
    }
}

} // namespace
