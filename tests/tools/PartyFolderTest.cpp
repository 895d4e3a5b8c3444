// A party folder made ready by the launcher: the first-start question through the real dialog,
// the party file made by the party-file tool's code, the link to the program made and mended.
#include "tools/PartyFolder.h"
#include "tools/FirstStartQuestion.h"

#include "store/Error.h"
#include "store/PartySchema.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PartyFixture.h"
#include "tests/tools/LauncherSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace fs = std::filesystem;
using launcher::FirstStart;
using testing_support::AnswerFirstStart;
using testing_support::rosterSize;
using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

struct PartyFolder : ::testing::Test {
    TempFolder temp;
    fs::path program = temp.path() / "install" / "bin" / "Tavrix";
    fs::path folder = temp.path() / "campaigns" / "eberron";

    void SetUp() override
    {
        fs::create_directories(program.parent_path());
        std::ofstream(program) << "the installed program";
    }
    static FirstStart neverAsked(const fs::path&)
    {
        ADD_FAILURE() << "asked about a folder that has a party";
        return FirstStart::Cancel;
    }
    static ino_t inodeOf(const fs::path& path)
    {
        struct stat s {};
        lstat(path.c_str(), &s);
        return s.st_ino;
    }
};

} // namespace

TEST_F(PartyFolder, TheFirstStartAsksAndMakesThePartyChosen)
{
    // What the party-file tool makes with --sample.
    const fs::path reference = temp.path() / "sample.mdb";
    store::createPartyFile(reference.string(), true);
    const int sample = rosterSize(reference);
    ASSERT_GT(sample, 0);

    struct Case {
        const char* answer;
        int roster; // -1: no party file
    };
    const Case cases[] = {
        {"Start with an empty party", 0},
        {"Start with a sample party", sample},
        {"Enter", 0}, // the default is the empty party
        {"Cancel", -1},
        {"Esc", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        fs::remove_all(folder.parent_path());
        AnswerFirstStart answer(c.answer);
        const auto start = launcher::preparePartyFolder(folder, program, launcher::askFirstStart);

        const testing_support::FirstStartSeen& seen = answer.seen;
        ASSERT_TRUE(seen.shown);
        EXPECT_TRUE(seen.hadFocus);
        EXPECT_EQ(seen.title, "Tavrix");
        EXPECT_TRUE(seen.text.contains(QString::fromStdString(folder.string())))
            << seen.text.toStdString();
        EXPECT_EQ(seen.buttons, QStringList({"Start with an empty party",
                                             "Start with a sample party", "Cancel"}));
        EXPECT_EQ(seen.defaultButton, "Start with an empty party");
        if (c.roster < 0) {
            // Cancel leaves no trace: not even the folder.
            EXPECT_FALSE(start);
            EXPECT_FALSE(fs::exists(folder));
            continue;
        }
        ASSERT_TRUE(start);
        EXPECT_EQ(*start, folder / "Tavrix");
        EXPECT_EQ(rosterSize(folder / "Mirel.mdb"), c.roster);
        EXPECT_EQ(fs::read_symlink(folder / "Tavrix"), program);
    }
}

TEST_F(PartyFolder, AFolderWithAPartyIsNotAskedAboutAndKeepsItsParty)
{
    fs::create_directories(folder);
    store::createPartyFile((folder / "Mirel.mdb").string(), true);
    const auto before = testing_support::fileBytes(folder / "Mirel.mdb");

    const auto start = launcher::preparePartyFolder(folder, program, neverAsked);
    ASSERT_TRUE(start);
    EXPECT_EQ(fs::read_symlink(*start), program);
    EXPECT_EQ(testing_support::fileBytes(folder / "Mirel.mdb"), before);
}

TEST_F(PartyFolder, AStaleLinkIsMendedAndAGoodOneLeftAlone)
{
    struct Case {
        const char* what;
        fs::path target; // empty: no link yet
    };
    const Case cases[] = {
        {"no link yet", {}},
        {"an older installation's, gone", "/usr/local/bin/Tavrix"},
        {"another installation's", temp.path() / "other" / "Tavrix"},
        {"a relative one", "../Tavrix"},
    };
    fs::create_directories(folder);
    store::createPartyFile((folder / "Mirel.mdb").string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(folder / "Tavrix");
        if (!c.target.empty()) fs::create_symlink(c.target, folder / "Tavrix");
        ASSERT_TRUE(launcher::preparePartyFolder(folder, program, neverAsked));
        EXPECT_EQ(fs::read_symlink(folder / "Tavrix"), program);
        // Nothing left over from making the link.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    }
    const ino_t good = inodeOf(folder / "Tavrix");
    ASSERT_TRUE(launcher::preparePartyFolder(folder, program, neverAsked));
    EXPECT_EQ(inodeOf(folder / "Tavrix"), good) << "a good link is not written again";
}

TEST_F(PartyFolder, FilesThatAreNotWhatTheLauncherMakesAreKeptAndReported)
{
    // A copy of the executable kept in a party folder by hand is the master's to remove.
    fs::create_directories(folder);
    store::createPartyFile((folder / "Mirel.mdb").string());
    std::ofstream(folder / "Tavrix") << "an old copy";
    EXPECT_EQ(
        testing_support::errorOf(
            [&] { launcher::preparePartyFolder(folder, program, neverAsked); }),
        "'" + (folder / "Tavrix").string() +
            "' is not a link to the installed Tavrix. Move it out of the folder and start again.");
    EXPECT_EQ(testing_support::fileBytes(folder / "Tavrix"), "an old copy");

    // A party file named as the folder.
    EXPECT_EQ(testing_support::errorOf(
                  [&] { launcher::preparePartyFolder(folder / "Mirel.mdb", program, neverAsked); }),
              "'" + (folder / "Mirel.mdb").string() + "' is not a folder.");
}

TEST_F(PartyFolder, ARelativeFolderIsTakenFromTheWorkingFolder)
{
    const fs::path before = fs::current_path();
    fs::current_path(temp.path());
    AnswerFirstStart answer("Start with an empty party");
    const auto start =
        launcher::preparePartyFolder("campaigns/eberron", program, launcher::askFirstStart);
    fs::current_path(before);
    ASSERT_TRUE(start);
    EXPECT_TRUE(start->is_absolute());
    EXPECT_TRUE(fs::exists(folder / "Mirel.mdb"));
}

TEST(PartyFolderDefault, IsTheUsersDataFolder)
{
    struct Case {
        const char* dataHome;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "/home/ann/.local/share/tavrix/party"},
        {"", "/home/ann/.local/share/tavrix/party"},
        {"/data/ann", "/data/ann/tavrix/party"},
        {"relative/data", "/home/ann/.local/share/tavrix/party"}, // not absolute: ignored
    };
    ScopedEnv home("HOME", "/home/ann");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataHome ? c.dataHome : "(unset)");
        ScopedEnv data("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(launcher::defaultPartyFolder(), fs::path(c.expected));
    }
}

TEST(PartyFolderProgram, IsTheOneBesideTheLauncher)
{
    TempFolder bin;
    EXPECT_EQ(testing_support::errorOf([&] { launcher::installedProgram(bin.path() / "tavrix"); }),
              "The program Tavrix is not installed beside the launcher ('" +
                  (bin.path() / "Tavrix").string() + "' is missing).");
    std::ofstream(bin.path() / "Tavrix") << "the program";
    EXPECT_EQ(launcher::installedProgram(bin.path() / "tavrix"), bin.path() / "Tavrix");
}

TEST_F(PartyFolder, AFolderThatCannotBeWrittenIsReported)
{
    if (geteuid() == 0) GTEST_SKIP() << "root writes in any folder";
    fs::create_directories(folder);
    store::createPartyFile((folder / "Mirel.mdb").string());
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string error = testing_support::errorOf(
        [&] { launcher::preparePartyFolder(folder, program, neverAsked); });
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(error, "Cannot make the link '" + (folder / "Tavrix").string() +
                         "' to the program: Permission denied.");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
