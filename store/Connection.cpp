#include "store/Connection.h"

#include "store/ConnectionString.h"
#include "store/EngineMessage.h"
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

namespace {

// The permission of whoever runs the program, as the file system gives it now.
bool cannotWrite(const std::string& path)
{
#ifndef _WIN32
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EROFS || errno == EPERM);
#else
    // Elsewhere only the engine's own read-only state is consulted.
    (void)path;
    return false;
#endif
}

std::string folderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

} // namespace

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

    // A file or folder that cannot be written opens read-only: the party is shown, and every
    // change is refused with the read-only message rather than by the engine part-way.
    const bool writable = !cannotWrite(path) && !cannotWrite(folderOf(path));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(
        path.c_str(), &db, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw Error(formatMessage("Could not open '%s': %s", {path, message}), rc);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    db_ = db;
    path_ = path;
    identity_ = FileIdentity::of(path);
    sqlite3_progress_handler(db_, 1000, &Connection::onProgress, this);
    sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &Connection::onTrace, this);
    try {
        journal_.emplace(db_, busyTimeoutMs);
        noteChangeCounter();
    }
    catch (const Error& e) {
        const std::string message =
            engineMessage(e.engineCode(), sqlite3_system_errno(db_), e.what(), path);
        close();
        throw Error(formatMessage("Could not open '%s': %s", {path, message}), e.engineCode());
    }
}

int Connection::onTrace(unsigned, void* self, void*, void* text)
{
    // A statement begins: its time starts. A trigger's part of it ("-- TRIGGER ...") runs
    // within the statement's time.
    const char* sql = static_cast<const char*>(text);
    if (sql && sql[0] == '-' && sql[1] == '-') return 0;
    auto* connection = static_cast<Connection*>(self);
    connection->deadline_ = std::chrono::steady_clock::now() + connection->timeLimit_;
    return 0;
}

int Connection::onProgress(void* self)
{
    return std::chrono::steady_clock::now() > static_cast<Connection*>(self)->deadline_ ? 1 : 0;
}

void Connection::close()
{
    cache_.clear();
    journal_.reset();
    identity_.reset();
    changeCounter_.reset();
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
    // Closing a file the engine holds open would drop its locks (the system ties them to the
    // process, not to the descriptor), so the header is read only while no transaction is open.
    const bool olderCopy = changeCounter_ && sqlite3_get_autocommit(db_) != 0 &&
                           changeCounterOf(path_).value_or(*changeCounter_) < *changeCounter_;
    if (FileIdentity::of(path_) != identity_ || olderCopy)
        throw Error(formatMessage("'%s' was replaced or moved by another program since Tavrix "
                                  "opened it, so the change was not saved; restart Tavrix to "
                                  "open the file that is there now",
                                  {path_}),
                    SQLITE_READONLY);
    if (cannotWrite(path_) || readOnly())
        throw Error(formatMessage("'%s' is read-only, so the change was not saved", {path_}),
                    SQLITE_READONLY);
    // The journal is made beside the file, so its folder must take new files.
    if (cannotWrite(folderOf(path_)))
        throw Error(formatMessage("'%s' lies in a folder that cannot be written, so the change "
                                  "was not saved",
                                  {path_}),
                    SQLITE_READONLY);
}

void Connection::committed()
{
    if (journal_) journal_->afterCommit();
    noteChangeCounter();
}

void Connection::noteChangeCounter()
{
    // Under a write-ahead log the counter is not kept up by every commit: no check then.
    changeCounter_.reset();
    if (!keepsLog()) changeCounter_ = changeCounterOf(path_);
}

sqlite3* Connection::handle() const
{
    if (!db_) throw Error(prefixed(name_, "Connection is not open"));
    return db_;
}

void Connection::fail() const
{
    if (!db_) throw Error(prefixed(name_, "Connection is not open"));
    const int code = sqlite3_extended_errcode(db_);
    throw Error(engineMessage(code, sqlite3_system_errno(db_), sqlite3_errmsg(db_), path_), code);
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

} // namespace store
