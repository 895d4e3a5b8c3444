#pragma once

struct sqlite3;

namespace store {

// How the party file keeps its committed changes. The program wants a rollback journal: when
// a commit returns, the file alone holds it, so a copy, a sync or a move of the file takes the
// whole party. A file made by an earlier version may still keep a write-ahead log beside it.
class Journal {
public:
    // Puts the opened file on a rollback journal, with every commit flushed to the disk. A
    // file in write-ahead-log mode is switched when no other program has it open; while one
    // has, the switch cannot be made, and the log is instead copied into the file after every
    // commit, so that the file still holds everything once an action returns.
    // busyTimeoutMs is the connection's wait for other programs' locks, restored after the
    // switch, which does not wait.
    Journal(sqlite3* db, int busyTimeoutMs);

    // True while the file keeps a write-ahead log (another program had it open at start).
    bool keepsLog() const { return keepsLog_; }

    // Called after each commit: copies the log into the file when there is one.
    void afterCommit();

private:
    sqlite3* db_;
    bool keepsLog_ = false;
};

} // namespace store
