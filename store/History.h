#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;

namespace store {

class Connection;

// One stored value exactly as the engine holds it, so that a row is recognised only when it
// holds the very value it held (13 and 13.0, '7' and 7 differ).
struct Blob {
    std::string bytes;
    friend bool operator==(const Blob&, const Blob&) = default;
};
using Cell = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;
using Cells = std::vector<Cell>;

// What one step did to one row of a table.
struct RowChange {
    enum class Kind { Added, Changed, Deleted };
    int table = 0; // the table's place in the history's list of tables
    std::int64_t rowid = 0;
    Kind kind = Kind::Changed;
    std::string label;        // the row's name as the master knows it ("Aria", "Sword")
    std::vector<int> columns; // the columns changed; every column for an added or deleted row
    Cells before;             // their values before the step (empty for an added row)
    Cells after;              // and after it (empty for a deleted row)
};

// One action of the master and what it changed in the party file.
struct Step {
    std::uint64_t id = 0;
    std::string name;   // "Damage 7 on Aria"
    std::string text;   // the log's line: "Damage 7 on Aria: HP 20 → 13, temporary 5 → 0"
    std::time_t time{}; // when it was done
    bool undone = false;
    bool forgotten = false; // too old to keep what it changed: in the log, no longer undoable
    std::vector<RowChange> rows;
    std::size_t bytes = 0; // the memory its changes take, as the budget counts it; 0 forgotten
};

// The history of steps of this run: every row the connection's writes changed (posts, deletes,
// appended records and statements alike, as the engine reports them) gathered into one step
// per action of the master, and the means to undo and redo a step in one transaction of its
// own, only while every row it touches still holds what the step left there.
//
// Only what was committed counts: a transaction rolled back leaves no trace, and a step takes
// each row's state as the file holds it when the step ends. Changes made while no step is open
// (a record posted as the master moves on) gather in a loose step, recorded at settle().
//
// Memory is bounded twice: by a byte budget for what the steps changed (past it, the oldest
// steps forget their changes and stay in the log as lines, no longer undoable), and by a count
// of lines (past maxSteps, the oldest lines leave the log too).
class History {
public:
    static constexpr std::size_t defaultBudget = 32u << 20;
    static constexpr std::size_t maxSteps = 20000;

    explicit History(Connection& connection);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // How the log names a table's rows and columns: the column holding a row's name, the word
    // for one row and for several, and the words for columns ("CurHP" → "HP"). A table not
    // described is recorded all the same, its rows named by their numbers.
    void describeTable(std::string table, std::string labelColumn, std::string singular,
                       std::string plural, std::map<std::string, std::string> columnWords = {});

    // Starts recording on the connection's open file; called again after it reconnects.
    void attach();
    // Stops recording until the next attach (a step begun attaches again).
    void detach();

    // Opens a step; steps opened inside it belong to it, and the outermost name is kept.
    void begin(std::string name);
    // Closes the step opened last; closing the outermost records what it changed, unless it
    // changed nothing.
    void end();
    void rename(std::string name); // the outermost open step's name, known only later
    bool recording() const { return depth_ > 0; }

    // Records the loose changes as one step, named by the loose-step namer.
    void settle();
    void setLooseStepNamer(std::function<std::string(const Step&)> namer);

    bool canUndo() const;
    bool canRedo() const;
    const Step* nextUndo() const;
    const Step* nextRedo() const;
    // Undoes the last step done, or redoes the last undone, in one transaction; refused with
    // "<name> was changed by another program since; nothing was undone" when a row it touches
    // no longer holds what the step left, and then nothing is written and the step stays.
    void undo();
    void redo();

    const std::deque<Step>& steps() const { return steps_; }
    std::size_t bytes() const { return bytes_; } // what the kept changes take
    void setBudget(std::size_t bytes);

    // Told after every step recorded, undone or redone.
    int subscribe(std::function<void()> listener);
    void unsubscribe(int id);

    const std::string& tableName(int table) const
    {
        return tables_.at(static_cast<std::size_t>(table)).name;
    }
    // The name of a recorded table's column, as the file names it.
    std::string columnName(int table, int column) const;

    // The words of one value in the log: numbers as shown, booleans as "yes" and "no".
    std::string valueText(int table, int column, const Cell& value) const;

private:
    struct Table {
        std::string name;
        std::vector<std::string> columns;
        std::vector<bool> booleans;
        int alias = -1; // the column that is the row's number, if any
        std::string labelColumn;
        int label = -1;
        std::string singular = "record", plural = "records";
        std::map<std::string, std::string> words;
        bool read = false;
    };
    struct Touch {
        int table;
        std::int64_t rowid;
        std::optional<Cells> before;
        std::uint64_t transaction;
    };
    static void preupdate(void* self, sqlite3* db, int op, const char* database, const char* table,
                          long long key1, long long key2);
    static int committed(void* self);
    static void rolledBack(void* self);
    void touch(int table, std::int64_t rowid, std::optional<Cells> before);
    int tableIndex(const char* name);
    Table& tableInfo(int index);
    std::optional<Cells> readRow(int table, std::int64_t rowid);
    void finish(std::string name);
    std::string describe(const Step& step);
    std::string labelOf(int table, std::int64_t rowid, const Cells* row);
    Step* findStep(std::uint64_t id);
    void takeStep(bool undoing); // the next undo or redo, whole or not at all
    void move(Step& step, bool undoing);
    void account(Step& step);
    void keepWithinBudget();
    void notify();

    Connection& connection_;
    sqlite3* attached_ = nullptr;
    std::vector<Table> tables_;
    std::vector<Touch> touches_;
    std::map<std::pair<int, std::int64_t>, std::size_t> touched_;
    std::uint64_t transaction_ = 0;
    bool suspended_ = false;
    int depth_ = 0;
    std::string name_;
    std::function<std::string(const Step&)> looseNamer_;
    std::deque<Step> steps_;
    std::vector<std::uint64_t> redo_;
    std::uint64_t nextId_ = 1;
    std::size_t bytes_ = 0;
    std::size_t budget_ = defaultBudget;
    std::map<int, std::function<void()>> listeners_;
    int nextListener_ = 1;
};

// Opens a step for as long as it lives; the step is recorded when it ends, an error included,
// so that what was committed before the error can still be undone.
class HistoryStep {
public:
    HistoryStep(History& history, std::string name) : history_(history)
    {
        history_.begin(std::move(name));
    }
    ~HistoryStep()
    {
        try {
            history_.end();
        }
        catch (...) { // recording reads the file; a failure there loses the step, not the action
        }
    }
    HistoryStep(const HistoryStep&) = delete;
    HistoryStep& operator=(const HistoryStep&) = delete;

private:
    History& history_;
};

} // namespace store
