#include "tests/support/PartyFixture.h"

#include "store/ConnectionString.h"
#include "store/PartySchema.h"

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

PartyFile::PartyFile(bool withSample)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrix-party-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    path_ = (folder_ / "Mirel.mdb").string();
    store::createPartyFile(path_, withSample);
}

PartyFile::~PartyFile()
{
    std::error_code ec;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(folder_, ec);
}

std::string PartyFile::connectionString() const
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + store::quoteConnectionValue(path_) +
           ";Persist Security Info=False";
}

namespace {

struct Db {
    sqlite3* db = nullptr;
    explicit Db(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("test connection: " + std::string(sqlite3_errmsg(db)));
        sqlite3_busy_timeout(db, 5000);
    }
    ~Db() { sqlite3_close(db); }
};

} // namespace

void PartyFile::sql(const std::string& statements) const
{
    Db d(path_);
    char* message = nullptr;
    if (sqlite3_exec(d.db, statements.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error("test SQL failed: " + text + " in: " + statements);
    }
}

std::vector<std::vector<std::string>> PartyFile::rows(const std::string& query) const
{
    Db d(path_);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(d.db, query.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error("test query failed: " + std::string(sqlite3_errmsg(d.db)));
    std::vector<std::vector<std::string>> out;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* t = sqlite3_column_text(stmt, c);
            row.push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return out;
}

std::string PartyFile::scalar(const std::string& query) const
{
    const auto r = rows(query);
    return r.empty() || r[0].empty() ? std::string() : r[0][0];
}

std::string PartyFile::bytes() const
{
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string PartyFile::contents() const
{
    std::string out;
    for (const std::string table : {"Table1", "Inventory"}) {
        std::string columns;
        for (const auto& c : rows("SELECT name FROM pragma_table_info('" + table + "')"))
            columns += (columns.empty() ? "" : " || '|' || ") + ("quote(\"" + c[0] + "\")");
        for (const auto& r :
             rows("SELECT rowid || ':' || " + columns + " FROM " + table + " ORDER BY rowid"))
            out += table + " " + r[0] + "\n";
    }
    return out;
}

void PartyFile::open(store::PartyStore& store) const
{
    store.ADOConnection1.setConnectionString(connectionString());
    store.ADOConnection1.setConnected(true);
    store.openAll();
}

} // namespace testing_support
