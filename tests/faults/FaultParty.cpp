#include "tests/faults/FaultParty.h"

#include "store/ConnectionString.h"
#include "store/PartySchema.h"

#include <sqlite3.h>

#include <cstdlib>
#include <stdexcept>

namespace testing_support {

ScratchFolder::ScratchFolder()
{
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "tavrix-faults-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

namespace {

struct Db {
    sqlite3* db = nullptr;
    explicit Db(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("test connection: " + std::string(sqlite3_errmsg(db)));
        sqlite3_busy_timeout(db, 10000);
    }
    ~Db() { sqlite3_close(db); }
};

} // namespace

void makeParty(const std::string& path, const std::string& setup)
{
    store::createPartyFile(path, false);
    if (!setup.empty()) runSql(path, setup);
}

void runSql(const std::string& path, const std::string& statements)
{
    Db d(path);
    char* message = nullptr;
    if (sqlite3_exec(d.db, statements.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error("test SQL failed: " + text + " in: " + statements);
    }
}

std::vector<std::vector<std::string>> queryRows(const std::string& path, const std::string& query)
{
    Db d(path);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(d.db, query.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error("test query failed: " + std::string(sqlite3_errmsg(d.db)));
    std::vector<std::vector<std::string>> out;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* t = sqlite3_column_text(stmt, c);
            row.push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
        }
        out.push_back(std::move(row));
    }
    const std::string error = rc == SQLITE_DONE ? "" : sqlite3_errmsg(d.db);
    sqlite3_finalize(stmt);
    if (!error.empty()) throw std::runtime_error("test query failed: " + error);
    return out;
}

std::string queryScalar(const std::string& path, const std::string& query)
{
    const auto r = queryRows(path, query);
    return r.empty() || r[0].empty() ? std::string() : r[0][0];
}

RosterRows rosterRows(const std::string& path)
{
    RosterRows rows;
    for (auto& r : queryRows(path, "SELECT * FROM Table1 ORDER BY ID"))
        rows[std::stoi(r[0])] = std::move(r);
    return rows;
}

void openStore(store::PartyStore& party, const std::string& path)
{
    party.ADOConnection1.setConnectionString(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + store::quoteConnectionValue(path) +
        ";Persist Security Info=False");
    party.ADOConnection1.setConnected(true);
    party.openAll();
}

} // namespace testing_support
