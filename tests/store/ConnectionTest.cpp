#include "store/Connection.h"

#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using testing_support::PartyFile;
using testing_support::TempFolder;

TEST(ConnectionString, BuiltFromTheExecutablesFolder)
{
    const struct {
        const char* executable;
        const char* connectionString;
    } cases[] = {
        {"/opt/tavrix/Tavrix", "Provider=Microsoft.Jet.OLEDB.4.0;Data "
                               "Source=/opt/tavrix/Mirel.mdb;Persist Security Info=False"},
        {"/home/gm/my games/Tavrix", // spaces go in unquoted
         "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/home/gm/my games/Mirel.mdb;Persist "
         "Security Info=False"},
        {"/Tavrix",
         "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/Mirel.mdb;Persist Security Info=False"},
        {"/a;b/Tavrix", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/a;b/Mirel.mdb\";Persist "
                        "Security Info=False"},
        {"/a\"b/Tavrix", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source='/a\"b/Mirel.mdb';Persist "
                         "Security Info=False"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.executable);
        EXPECT_EQ(store::connectionStringFor(c.executable), c.connectionString);
    }
}

TEST(ConnectionString, AFolderNameCanNeverNameAnotherFile)
{
    // Whatever the folder holds, the parsed data source is exactly that folder's party file.
    const char* folders[] = {
        "/plain",
        "/with;semicolon",
        "/x;Data Source=/etc/passwd",
        "/q\"uote",
        "/both\"and'quotes;here",
        "/'leading",
        "/trailing ",
        " /leading blank",
        "/a=b;c=d",
        "/\"\"",
        "/;;;",
        "/ü/ñ",
    };
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        const std::string exe = std::string(folder) + "/Tavrix";
        const auto pairs = store::parseConnectionString(store::connectionStringFor(exe));
        EXPECT_EQ(pairs.at("data source"), std::string(folder) + "/Mirel.mdb");
        EXPECT_EQ(pairs.at("provider"), "Microsoft.Jet.OLEDB.4.0");
        EXPECT_EQ(pairs.at("persist security info"), "False");
        EXPECT_EQ(pairs.size(), 3u);
    }
}

TEST(ConnectionString, MalformedStringsAreRefused)
{
    for (const char* text : {"Data Source=\"unterminated", "novalue", "a=b;stray;c=d", "=x"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(store::parseConnectionString(text), store::Error);
    }
    EXPECT_EQ(store::directoryOf("/usr/bin/Tavrix"), "/usr/bin");
    EXPECT_EQ(store::directoryOf("Tavrix"), "");
}

std::string connectError(const std::string& connectionString)
{
    store::Connection c;
    c.setConnectionString(connectionString);
    try {
        c.setConnected(true);
    }
    catch (const store::Error& e) {
        EXPECT_FALSE(c.connected());
        return e.what();
    }
    return "connected";
}

TEST(Connection, BadFilesGiveClearErrorsAndStayUnchanged)
{
    TempFolder folder;
    const std::string base = folder.path().string();
    const auto write = [](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    write(base + "/empty.mdb", "");
    write(base + "/text.mdb", "Aldric, 44 hit points\nBrynn, 31 hit points\n");
    write(base + "/truncated.mdb", std::string("SQLite format 3\0\x10\x00", 18));
    std::string header("SQLite format 3\0", 16);
    std::string randomBody = header;
    for (int i = 0; i < 8192; ++i)
        randomBody += static_cast<char>((i * 2654435761u) >> 13);
    write(base + "/random.mdb", randomBody);

    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"missing.mdb", "Could not find file '%/missing.mdb'."},
        {"empty.mdb", "Could not open '%/empty.mdb': the file is empty, not a party file"},
        {"text.mdb", "Could not open '%/text.mdb': file is not a database"},
        {"truncated.mdb", "Could not open '%/truncated.mdb': file is not a database"},
        {"random.mdb", "Could not open '%/random.mdb': file is not a database"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = base + "/" + c.file;
        std::string before;
        if (std::ifstream in{path, std::ios::binary})
            before.assign(std::istreambuf_iterator<char>(in), {});
        std::string expected = c.message;
        expected.replace(expected.find('%'), 1, base);
        EXPECT_EQ(connectError("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path), expected);
        std::string after;
        if (std::ifstream in{path, std::ios::binary})
            after.assign(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(before, after);
    }
    EXPECT_EQ(connectError("Provider=SQLOLEDB;Data Source=" + base + "/x.mdb"),
              "Provider cannot be found. It may not be properly installed");
}

TEST(Connection, OpensTheNamedFileAndSetsDurableCommits)
{
    PartyFile file;
    store::Connection c;
    c.setConnectionString(file.connectionString());
    c.setConnected(true);
    EXPECT_TRUE(c.connected());
    EXPECT_EQ(c.databasePath(), file.path());
    EXPECT_FALSE(c.readOnly());
    c.setConnected(false);
    EXPECT_FALSE(c.connected());
    EXPECT_EQ(file.scalar("PRAGMA journal_mode"), "delete"); // the rollback journal kept
}

} // namespace
