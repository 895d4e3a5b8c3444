#include "store/Journal.h"

#include "store/Error.h"
#include "store/Names.h"

#include <sqlite3.h>

#include <string>

namespace store {

namespace {

std::string pragmaText(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw Error(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    std::string text;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW && sqlite3_column_text(stmt, 0))
        text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw Error(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    return text;
}

void run(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Error(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
}

} // namespace

Journal::Journal(sqlite3* db, int busyTimeoutMs) : db_(db)
{
    // Reading the mode reads the file's header: a file that is no database fails here.
    if (sameName(pragmaText(db_, "PRAGMA journal_mode"), "wal")) {
        // Leaving the log needs the file to itself. Another program holding it open answers
        // "locked" at once: no waiting, the program keeps the log and copies it after commits.
        sqlite3_busy_timeout(db_, 0);
        sqlite3_stmt* stmt = nullptr;
        std::string mode;
        if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode=DELETE", -1, &stmt, nullptr) ==
            SQLITE_OK) {
            if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
                mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            sqlite3_finalize(stmt);
        }
        sqlite3_busy_timeout(db_, busyTimeoutMs);
        keepsLog_ = sameName(mode, "wal") || mode.empty();
    }
    // Every commit must survive a power cut; a rollback journal needs the stronger setting.
    run(db_, keepsLog_ ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=EXTRA");
    if (keepsLog_) afterCommit(); // what the log held at start goes into the file too
}

void Journal::afterCommit()
{
    if (!keepsLog_) return;
    // A reader of another program may keep part of the log from being copied; what it keeps
    // is copied after the next commit. The copy itself never fails a commit already made.
    sqlite3_exec(db_, "PRAGMA wal_checkpoint(FULL)", nullptr, nullptr, nullptr);
}

} // namespace store
