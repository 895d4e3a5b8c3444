// The file the program was started by decides its folder, and so its party file: a link to the
// executable in another folder stands for that folder.
#include "ui/StartedFileName.h"

#include "store/ConnectionString.h"
#include "tests/support/PartyFixture.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(StartedFileName, APathStandsForItselfMadeAbsolute)
{
    const QString here = QDir::currentPath();
    struct Case {
        QString argument, expected;
    };
    const Case cases[] = {
        {"/home/ann/campaigns/eberron/Tavrix", "/home/ann/campaigns/eberron/Tavrix"},
        {"party/Tavrix", here + "/party/Tavrix"},
        {"./Tavrix", here + "/./Tavrix"},
        // ".." stays: behind a link it leads where the file system says, not where the text does.
        {"/srv/link/../Tavrix", "/srv/link/../Tavrix"},
        {"/srv/with space/Tavrix", "/srv/with space/Tavrix"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        EXPECT_EQ(ui::fileNameStartedBy(c.argument), c.expected);
    }
}

TEST(StartedFileName, ABareNameOrNoneIsTheRunningExecutable)
{
    EXPECT_EQ(ui::fileNameStartedBy("Tavrix"), QCoreApplication::applicationFilePath());
    EXPECT_EQ(ui::fileNameStartedBy(QString()), QCoreApplication::applicationFilePath());
}

TEST(StartedFileName, ALinkToTheExecutableGivesTheLinksFolderNotTheTargets)
{
    testing_support::TempFolder party;
    const fs::path link = party.path() / "Tavrix";
    fs::create_symlink(QCoreApplication::applicationFilePath().toStdString(), link);

    const std::string started =
        ui::fileNameStartedBy(QString::fromStdString(link.string())).toStdString();
    EXPECT_EQ(store::directoryOf(started), party.path().string());
    EXPECT_NE(store::connectionStringFor(started).find((party.path() / "Mirel.mdb").string()),
              std::string::npos)
        << store::connectionStringFor(started);
}
