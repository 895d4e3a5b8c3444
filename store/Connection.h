#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// The one connection of the run to the party file. It opens the file read-write (read-only
// when the file is write-protected), never creates it and never changes its journal mode or
// schema; every write through it is committed before the call that made it returns.
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

    bool connected() const { return db_ != nullptr; }
    // Connecting opens the file the connection string names; disconnecting closes it.
    void setConnected(bool on);

    // The file the connection has open.
    const std::string& databasePath() const { return path_; }
    bool readOnly() const;

    sqlite3* handle() const; // raises an error when not connected

    // A statement prepared once per connection and kept for later calls with the same text.
    sqlite3_stmt* cachedStatement(const std::string& sql);

    // Raises a clear error when the file can no longer be written: write-protected since the
    // connection opened it (the engine, holding it open, would write on regardless) or opened
    // read-only. Every write checks this first, so a refused change is still pending.
    void requireWritable() const;

    // Runs a statement without results; raises the engine's message on failure.
    void exec(const char* sql);

    // An error carrying the engine's message for the connection's last failure.
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
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* s) const;
    };
    std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, StatementFinalizer>> cache_;
};

// One write transaction: begun immediately, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool open_ = true;
};

} // namespace store
