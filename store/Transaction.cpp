#include "store/Transaction.h"

#include "store/Connection.h"
#include "store/Error.h"

#include <sqlite3.h>

#include <exception>
#include <optional>

namespace store {

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    connection_.requireWritable();
    nested_ = sqlite3_get_autocommit(connection_.handle()) == 0;
    connection_.exec(nested_ ? "SAVEPOINT record" : "BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (!open_ || !connection_.connected()) return;
    sqlite3* db = connection_.handle();
    if (nested_)
        sqlite3_exec(db, "ROLLBACK TO record; RELEASE record", nullptr, nullptr, nullptr);
    else if (sqlite3_get_autocommit(db) == 0) // a failed commit may have ended it already
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Transaction::active() const
{
    return open_ && connection_.connected() &&
           (nested_ || sqlite3_get_autocommit(connection_.handle()) == 0);
}

void Transaction::commit()
{
    if (nested_) {
        connection_.exec("RELEASE record");
        open_ = false;
        return;
    }
    connection_.exec("COMMIT");
    open_ = false;
    connection_.committed();
}

void runStep(Connection& connection, const std::function<void()>& work,
             const std::function<void()>& undone)
{
    std::optional<Transaction> step(std::in_place, connection);
    std::exception_ptr stopped;
    try {
        work();
    }
    catch (...) {
        stopped = std::current_exception();
    }
    try {
        // A full disk or a failing drive makes the engine end the whole transaction itself.
        if (!step->active()) {
            if (stopped) std::rethrow_exception(stopped);
            throw Error("The database engine ended the step's transaction");
        }
        step->commit();
    }
    catch (const Error& e) {
        step.reset(); // rolled back: the file holds nothing of the step
        try {
            undone();
        }
        catch (const Error&) {
            // The snapshot stays as the work left it; the message below still holds.
        }
        throw Error(formatMessage("Nothing of this step was saved: %s", {e.what()}),
                    e.engineCode());
    }
    step.reset();
    if (stopped) std::rethrow_exception(stopped);
}

} // namespace store
