#include "store/Connection.h"

#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/Names.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace store {

void Connection::StatementFinalizer::operator()(sqlite3_stmt* s) const
{
    sqlite3_finalize(s);
}

Connection::Connection(std::string componentName) : name_(std::move(componentName)) {}

Connection::~Connection()
{
    close();
}

void Connection::setConnected(bool on)
{
    if (on == connected()) return;
    if (on)
        open();
    else
        close();
}

void Connection::open()
{
    const auto pairs = parseConnectionString(connectionString_);
    const auto provider = pairs.find("provider");
    const std::string providerName = provider != pairs.end() ? provider->second : provider_;
    if (!sameName(providerName, jetProvider))
        throw Error("Provider cannot be found. It may not be properly installed");
    const auto source = pairs.find("data source");
    const std::string path = source != pairs.end() ? source->second : std::string();

    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (path.empty() || ec || !std::filesystem::exists(status))
        throw Error(formatMessage("Could not find file '%s'.", {path}));
    if (std::filesystem::is_directory(status))
        throw Error(formatMessage("Could not open '%s': it is a folder, not a party file", {path}));
    // An empty file would pass for an empty database; it is no party file.
    if (std::filesystem::is_regular_file(status) && std::filesystem::file_size(path, ec) == 0 &&
        !ec)
        throw Error(
            formatMessage("Could not open '%s': the file is empty, not a party file", {path}));

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw Error(formatMessage("Could not open '%s': %s", {path, message}), rc);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    db_ = db;
    path_ = path;
    try {
        // Reading the journal mode reads the file's header: a file that is no database, or one
        // that another program holds locked, fails here, before any dataset opens.
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode", -1, &stmt, nullptr) != SQLITE_OK) fail();
        std::string mode;
        const int step = sqlite3_step(stmt);
        if (step == SQLITE_ROW) mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
        if (step != SQLITE_ROW) fail();
        // Every commit must survive a power cut; rollback journals need the stronger setting.
        exec(sameName(mode, "wal") ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=EXTRA");
    }
    catch (const Error& e) {
        close();
        throw Error(formatMessage("Could not open '%s': %s", {path, e.what()}), e.engineCode());
    }
}

void Connection::close()
{
    cache_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    path_.clear();
}

bool Connection::readOnly() const
{
    return db_ && sqlite3_db_readonly(db_, "main") == 1;
}

void Connection::requireWritable() const
{
    handle();
    // The permission of whoever runs the program, as the file system gives it now.
#ifndef _WIN32
    const bool protectedNow = faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0 &&
                              (errno == EACCES || errno == EROFS);
#else
    // Elsewhere only the engine's own read-only state is consulted.
    const bool protectedNow = false;
#endif
    if (protectedNow || readOnly())
        throw Error(formatMessage("'%s' is read-only, so the change was not saved", {path_}),
                    SQLITE_READONLY);
}

sqlite3* Connection::handle() const
{
    if (!db_) throw Error(prefixed(name_, "Connection is not open"));
    return db_;
}

void Connection::fail() const
{
    if (!db_) throw Error(prefixed(name_, "Connection is not open"));
    throw Error(sqlite3_errmsg(db_), sqlite3_extended_errcode(db_));
}

void Connection::exec(const char* sql)
{
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail();
}

sqlite3_stmt* Connection::cachedStatement(const std::string& sql)
{
    auto it = cache_.find(sql);
    if (it != cache_.end()) {
        sqlite3_reset(it->second.get());
        sqlite3_clear_bindings(it->second.get());
        return it->second.get();
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(handle(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) !=
        SQLITE_OK)
        fail();
    cache_.emplace(sql, std::unique_ptr<sqlite3_stmt, StatementFinalizer>(stmt));
    return stmt;
}

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    connection_.requireWritable();
    connection_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (open_ && connection_.connected())
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    connection_.exec("COMMIT");
    open_ = false;
}

} // namespace store
