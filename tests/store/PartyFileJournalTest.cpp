// The party file alone holds the party whenever an action has returned: a copy of it, taken
// then, is the whole party; nothing beside it is needed; and a file put in its place by
// another program is never written to by mistake.
#include "store/ConnectionString.h"
#include "store/PartySchema.h"
#include "store/PartyStore.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PartyFixture.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

using testing_support::errorOf;
using testing_support::PartyFile;

namespace fs = std::filesystem;

const char* const aldric =
    "INSERT INTO Table1 (Name, TotalHP, CurHP, PC) VALUES ('Aldric', 40, 30, 1)";

// A second program holding the file open, as a sync client or a second copy of Tavrix would.
struct OtherProgram {
    sqlite3* db = nullptr;
    explicit OtherProgram(const std::string& path)
    {
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000);
        // Reading puts it on the file (and, in write-ahead-log mode, on the log).
        sqlite3_exec(db, "SELECT count(*) FROM Table1", nullptr, nullptr, nullptr);
    }
    ~OtherProgram() { sqlite3_close(db); }
};

void damage(store::PartyStore& party, int curHP)
{
    party.ADOTable1.edit();
    party.ADOTable1.fieldByName("CurHP").setAsInteger(curHP);
    party.ADOTable1.post();
}

// What a copy of the file alone holds: opened by itself, with nothing beside it.
std::string curHPOfCopy(const PartyFile& file, const fs::path& copy)
{
    fs::copy_file(file.path(), copy, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string value = "unreadable";
    if (sqlite3_prepare_v2(db, "SELECT CurHP FROM Table1", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

TEST(PartyFileJournal, NewFilesKeepARollbackJournalWithEveryCommitFlushed)
{
    PartyFile file;
    EXPECT_EQ(file.scalar("PRAGMA journal_mode"), "delete");
    file.sql(aldric);
    store::PartyStore party;
    file.open(party);
    EXPECT_FALSE(party.ADOConnection1.keepsLog());
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(party.ADOConnection1.handle(), "PRAGMA synchronous", -1, &stmt, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(stmt, 0), 3); // EXTRA
    sqlite3_finalize(stmt);
}

// Copy only Mirel.mdb while the program runs, delete whatever lies beside it: after every
// action the file alone holds the change.
TEST(PartyFileJournal, TheFileAloneHoldsEveryCommittedChange)
{
    struct Case {
        const char* label;
        bool madeWithLog;      // an older version's file, in write-ahead-log mode
        bool otherProgramOpen; // another program has it open when Tavrix starts
    };
    const Case cases[] = {
        {"new file", false, false},
        {"old file switched at start", true, false},
        {"old file kept in log mode while another program has it open", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PartyFile file;
        file.sql(aldric);
        if (c.madeWithLog) file.sql("PRAGMA journal_mode=WAL");
        std::optional<OtherProgram> other;
        if (c.otherProgramOpen) other.emplace(file.path());
        store::PartyStore party;
        file.open(party);
        EXPECT_EQ(party.ADOConnection1.keepsLog(), c.otherProgramOpen);
        if (c.madeWithLog && !c.otherProgramOpen) {
            EXPECT_EQ(file.scalar("PRAGMA journal_mode"), "delete");
            EXPECT_FALSE(fs::exists(file.path() + "-wal"));
        }
        damage(party, 21);
        EXPECT_EQ(curHPOfCopy(file, file.folder() / "copy.mdb"), "21");
        damage(party, 12);
        EXPECT_EQ(curHPOfCopy(file, file.folder() / "copy.mdb"), "12");
        EXPECT_FALSE(fs::exists(file.path() + "-journal"));
        // The side files deleted and the program gone without closing: nothing is lost.
        other.reset();
        std::error_code ec;
        fs::remove(file.path() + "-wal", ec);
        fs::remove(file.path() + "-shm", ec);
        EXPECT_EQ(curHPOfCopy(file, file.folder() / "copy2.mdb"), "12");
    }
}

TEST(PartyFileJournal, AFileReplacedWhileTheProgramRunsIsNeverWritten)
{
    const char* const ways[] = {"moved over", "deleted and copied anew", "copied over in place"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        PartyFile file;
        file.sql(aldric);
        store::PartyStore party;
        file.open(party);
        // A backup taken now, restored later over the file in use.
        const fs::path backup = file.folder() / "backup.mdb";
        fs::copy_file(file.path(), backup);
        damage(party, 25);
        const fs::path opened = file.folder() / "opened-file.mdb";
        fs::create_hard_link(file.path(), opened); // keeps the file the program has open
        if (std::string(way) == "moved over") {
            fs::rename(backup, file.path());
        }
        else if (std::string(way) == "deleted and copied anew") {
            fs::remove(file.path());
            fs::copy_file(backup, file.path());
        }
        else {
            fs::copy_file(backup, file.path(), fs::copy_options::overwrite_existing);
        }
        const std::string restored = file.bytes();
        std::ifstream in(opened, std::ios::binary);
        const std::string openedBefore{std::istreambuf_iterator<char>(in), {}};

        party.ADOTable1.edit();
        party.ADOTable1.fieldByName("CurHP").setAsInteger(5);
        EXPECT_EQ(errorOf([&] { party.ADOTable1.post(); }),
                  "'" + file.path() +
                      "' was replaced or moved by another program since Tavrix opened it, so the "
                      "change was not saved; restart Tavrix to open the file that is there now");
        EXPECT_EQ(party.ADOTable1.state(), store::DatasetState::Edit);
        EXPECT_EQ(file.bytes(), restored);
        std::ifstream again(opened, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), openedBefore);
        EXPECT_FALSE(fs::exists(file.path() + "-journal"));
        EXPECT_EQ(file.scalar("SELECT CurHP FROM Table1"), "30");
    }
}

// A folder whose name is not valid UTF-8 names that folder's party file, in its own bytes.
TEST(PartyFileJournal, AFolderNamedInBytesThatAreNotUtf8OpensItsOwnPartyFile)
{
    testing_support::TempFolder temp;
    const std::string folder = temp.path().string() + "/caf\xe9-\xff";
    fs::create_directory(folder);
    store::createPartyFile(folder + "/Mirel.mdb", true);
    store::PartyStore party;
    party.ADOConnection1.setConnectionString(store::connectionStringFor(folder + "/Tavrix"));
    party.ADOConnection1.setConnected(true);
    EXPECT_EQ(party.ADOConnection1.databasePath(), folder + "/Mirel.mdb");
    party.openAll();
    EXPECT_EQ(party.ADOTable1.fieldByName("Name").asString(), "Aldric");
    // A name that holds no folder at all is refused, never taken as the root's file.
    EXPECT_EQ(errorOf([] { store::connectionStringFor("Tavrix"); }),
              "The folder of the program 'Tavrix' is not known, so its party file cannot be found");
    EXPECT_EQ(errorOf([] { store::connectionStringFor(""); }),
              "The folder of the program '' is not known, so its party file cannot be found");
}

} // namespace
