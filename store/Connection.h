#pragma once

#include "store/FileIdentity.h"
#include "store/Journal.h"
#include "store/Transaction.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// The one connection of the run to the party file. It opens the file read-write (read-only
// when the file or its folder cannot be written), never creates it and never changes its
// schema; it keeps the file on a rollback journal (Journal), so that every write through it is
// in the file alone once the call that made it returns.
class Connection {
public:
    enum class Mode { ShareDenyNone };

    explicit Connection(std::string componentName = "ADOConnection1");
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& name() const { return name_; }

    const std::string& connectionString() const { return connectionString_; }
    void setConnectionString(std::string text) { connectionString_ = std::move(text); }
    const std::string& provider() const { return provider_; }
    void setProvider(std::string name) { provider_ = std::move(name); }
    bool loginPrompt() const { return loginPrompt_; }
    void setLoginPrompt(bool on) { loginPrompt_ = on; }
    Mode mode() const { return mode_; }
    void setMode(Mode mode) { mode_ = mode; }

    // How long a write waits for another program's lock before it gives up.
    static constexpr int busyTimeoutMs = 2000;
    // How long one statement may work before it is stopped, so that a view or trigger that
    // never finishes cannot hang the program. Far above what the party's work takes.
    static constexpr std::chrono::milliseconds defaultTimeLimit{5000};
    void setTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }

    bool connected() const { return db_ != nullptr; }
    // Connecting opens the file the connection string names; disconnecting closes it.
    void setConnected(bool on);

    // The file the connection has open.
    const std::string& databasePath() const { return path_; }
    bool readOnly() const;

    sqlite3* handle() const; // raises an error when not connected

    // A statement prepared once per connection and kept for later calls with the same text.
    sqlite3_stmt* cachedStatement(const std::string& sql);

    // True while the file keeps a write-ahead log beside it (see Journal).
    bool keepsLog() const { return journal_ && journal_->keepsLog(); }

    // Raises a clear error when the file can no longer be written: replaced by another file
    // since the connection opened it, write-protected since (the engine, holding it open, would
    // write on regardless), in a folder that cannot be written, or opened read-only. Every
    // write checks this first, so a refused change is still pending and neither file is
    // touched.
    void requireWritable() const;

    // Told by a transaction that it committed.
    void committed();

    // Runs a statement without results; raises the engine's message on failure.
    void exec(const char* sql);

    // An error carrying the engine's message for the connection's last failure, in the
    // master's words where the engine's say nothing to him (EngineMessage).
    [[noreturn]] void fail() const;

private:
    void open();
    void close();

    std::string name_;
    std::string connectionString_;
    std::string provider_;
    bool loginPrompt_ = false;
    Mode mode_ = Mode::ShareDenyNone;
    sqlite3* db_ = nullptr;
    std::string path_;
    std::optional<FileIdentity> identity_;
    std::optional<std::uint32_t> changeCounter_; // as this connection last saw it
    void noteChangeCounter();
    std::optional<Journal> journal_;
    std::chrono::milliseconds timeLimit_ = defaultTimeLimit;
    std::chrono::steady_clock::time_point deadline_;
    static int onProgress(void* self);
    static int onTrace(unsigned type, void* self, void* statement, void* text);
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* s) const;
    };
    std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, StatementFinalizer>> cache_;
};

} // namespace store
