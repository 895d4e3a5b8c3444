#include "store/PartySchema.h"

#include "store/Error.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace store {

namespace {

void run(sqlite3* db, std::string_view sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, std::string(sql).c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw Error(text);
    }
}

} // namespace

void createPartyFile(const std::string& path, bool withSample)
{
    // Claiming the name first makes the refusal race-free: an existing file is never touched.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            throw Error(
                formatMessage("'%s' already exists; a party file is never overwritten", {path}));
        throw Error(formatMessage("Could not create '%s': %s", {path, std::strerror(errno)}));
    }
    ::close(fd);

    sqlite3* db = nullptr;
    try {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw Error(formatMessage("Could not create '%s': %s",
                                      {path, db ? sqlite3_errmsg(db) : "out of memory"}));
        // A rollback journal: the file alone holds every committed change.
        run(db, "PRAGMA journal_mode=DELETE");
        run(db, "PRAGMA synchronous=EXTRA");
        run(db, "BEGIN");
        run(db, text::partySchema);
        if (withSample) run(db, text::partySample);
        run(db, "COMMIT");
        if (sqlite3_close(db) != SQLITE_OK) throw Error(sqlite3_errmsg(db));
        db = nullptr;
    }
    catch (...) {
        if (db) sqlite3_close_v2(db);
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            std::filesystem::remove(path + suffix, ec);
        throw;
    }
}

} // namespace store
