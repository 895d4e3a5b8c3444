// Hostile party files through the start-up and one action: a file is opened and the group
// extended rest run on it, and whatever the file holds, each step ends or is refused with the
// program's own error, never anything worse (a crash, a hang, another kind of exception).
//
// The first byte of the input chooses what the rest of it becomes:
//   0  pages: a valid party file's first page, then the input's bytes as the pages after it
//   1  SQL: a valid party file with a sample party, then the input run on it as SQL text
//      (odd schemas, views and triggers, odd stored values)
//   2  values: a valid party file, then each byte pair of the input stored into a roster
//      column as one of the kinds of value another program might leave there
#include "actions/GroupActions.h"
#include "actions/Rests.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/PartySchema.h"
#include "store/PartyStore.h"
#include "tests/fuzz/Finding.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path& workFolder()
{
    static const fs::path folder = [] {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path f = base / ("tavrix-party-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(f);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(workFolder(), ec);
        });
        return f;
    }();
    return folder;
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A valid party file's bytes, made once by the program's own code.
const std::string& validFile(bool sample)
{
    static const auto make = [](bool withSample) {
        const fs::path path = workFolder() / (withSample ? "sample.mdb" : "empty.mdb");
        std::error_code ec;
        fs::remove(path, ec);
        store::createPartyFile(path.string(), withSample);
        return readAll(path);
    };
    static const std::string empty = make(false), withSample = make(true);
    return sample ? withSample : empty;
}

void writeFile(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs SQL as another program would; what it refuses is simply not there.
void runAsAnotherProgram(const fs::path& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        // The input reaches this file only: no other file is attached, made or written.
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_set_authorizer(
            db,
            [](void*, int action, const char*, const char*, const char*, const char*) {
                return action == SQLITE_ATTACH || action == SQLITE_DETACH ? SQLITE_DENY : SQLITE_OK;
            },
            nullptr);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        sqlite3_progress_handler(
            db, 1000,
            [](void* end) {
                return std::chrono::steady_clock::now() >
                               *static_cast<std::chrono::steady_clock::time_point*>(end)
                           ? 1
                           : 0;
            },
            const_cast<std::chrono::steady_clock::time_point*>(&deadline));
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

std::string valuesSql(std::string_view input)
{
    static const char* const columns[] = {"Name", "TotalHP", "CurHP",     "TempHP", "Initiative",
                                          "AC",   "Dying",   "PC",        "cp",     "Milestone",
                                          "ID",   "Weight",  "UsedDaily", "Prone",  "Item"};
    static const char* const values[] = {"4294967303",
                                         "3.7",
                                         "'abc'",
                                         "X'01FF'",
                                         "-1",
                                         "NULL",
                                         "''",
                                         "1e308",
                                         "-9223372036854775808",
                                         "'12'",
                                         "0.5",
                                         "zeroblob(3)",
                                         "'-'",
                                         "printf('%.*c', 300, 'x')",
                                         "2147483648",
                                         "'True'"};
    std::string sql;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
        const auto column = columns[static_cast<unsigned char>(input[i]) % std::size(columns)];
        const auto value = values[static_cast<unsigned char>(input[i + 1]) % std::size(values)];
        const bool item =
            std::string_view(column) == "Weight" || std::string_view(column) == "Item";
        sql += std::string("UPDATE ") + (item ? "Inventory" : "Table1") + " SET " + column + " = " +
               value + " WHERE rowid % 3 = " + std::to_string(i % 3) + ";";
    }
    return sql;
}

void openAndAct(const fs::path& path)
{
    store::PartyStore party;
    party.ADOConnection1.setTimeLimit(std::chrono::milliseconds(200));
    try {
        party.ADOConnection1.setConnectionString(
            store::connectionStringFor((path.parent_path() / "Tavrix").string()));
        party.ADOConnection1.setConnected(true);
        party.openAll();
    }
    catch (const store::Error&) {
        // refused at start, as the master would be told
    }
    try {
        store::Dataset& roster = party.ADOTable1;
        actions::forEachPlayerCharacter(roster, [&] { actions::takeExtendedRest(roster); });
    }
    catch (const store::Error&) {
        // refused with the program's own message
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const fs::path folder = workFolder() / "party";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    const fs::path path = folder / "Mirel.mdb";
    try {
        switch (data[0] % 3) {
        case 0: {
            const std::string& valid = validFile(true);
            const std::size_t pageSize = 4096;
            writeFile(path, valid.substr(0, std::min(pageSize, valid.size())) + std::string(input));
            break;
        }
        case 1:
            writeFile(path, validFile(true));
            runAsAnotherProgram(path, std::string(input));
            break;
        default:
            writeFile(path, validFile(true));
            runAsAnotherProgram(path, valuesSql(input));
            break;
        }
        openAndAct(path);
    }
    catch (const std::exception& e) {
        finding(e.what(), input);
    }
    return 0;
}
