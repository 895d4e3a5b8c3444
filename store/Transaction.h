#pragma once

#include <functional>

namespace store {

class Connection;

// One unit of writing. Outside any other it is a transaction of its own, begun at once (so a
// lock held by another program is met before anything is written) and committed by commit().
// Inside another it is a savepoint of that one, so that a write refused part-way is undone
// alone while the writes before it stay in the enclosing step. Either way it is undone when it
// goes without having been committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    bool nested() const { return nested_; }
    // False once committed, or once the engine itself ended the transaction (it rolls back
    // the whole of it on a full disk or a failing drive).
    bool active() const;

private:
    Connection& connection_;
    bool nested_ = false;
    bool open_ = true;
};

// Runs `work` as one step of the master (a group action, an NPC batch): one transaction, in
// which every post or statement of the work is a savepoint of its own, committed once at the
// end. An error inside the work ends it there; what it wrote before stays and is committed,
// then the error is raised. When the commit itself fails, nothing of the step is in the file:
// `undone` runs (to read again what the work had shown as written) and the error says so.
void runStep(Connection& connection, const std::function<void()>& work,
             const std::function<void()>& undone);

} // namespace store
