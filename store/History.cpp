#include "store/History.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/FieldDef.h"
#include "store/Names.h"
#include "store/NumberFormat.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace store {

namespace {

Cell cellOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return std::int64_t{sqlite3_value_int64(v)};
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_TEXT:
        return std::string(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                           static_cast<std::size_t>(sqlite3_value_bytes(v)));
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_value_blob(v));
        return Blob{std::string(data, data + sqlite3_value_bytes(v))};
    }
    default:
        return std::monostate{};
    }
}

void bindCell(sqlite3_stmt* stmt, int index, const Cell& cell)
{
    if (const auto* i = std::get_if<std::int64_t>(&cell))
        sqlite3_bind_int64(stmt, index, *i);
    else if (const auto* d = std::get_if<double>(&cell))
        sqlite3_bind_double(stmt, index, *d);
    else if (const auto* s = std::get_if<std::string>(&cell))
        sqlite3_bind_text(stmt, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else if (const auto* b = std::get_if<Blob>(&cell))
        sqlite3_bind_blob(stmt, index, b->bytes.data(), static_cast<int>(b->bytes.size()),
                          SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(stmt, index);
}

std::size_t cellBytes(const Cell& cell)
{
    std::size_t n = sizeof(Cell);
    if (const auto* s = std::get_if<std::string>(&cell))
        n += s->capacity() > 15 ? s->capacity() : 0;
    if (const auto* b = std::get_if<Blob>(&cell))
        n += b->bytes.capacity() > 15 ? b->bytes.capacity() : 0;
    return n;
}

// Undoing or redoing a step writes as the program's own writes do, but is no step itself.
class Suspension {
public:
    explicit Suspension(bool& flag) : flag_(flag) { flag_ = true; }
    ~Suspension() { flag_ = false; }
    Suspension(const Suspension&) = delete;
    Suspension& operator=(const Suspension&) = delete;

private:
    bool& flag_;
};

} // namespace

History::History(Connection& connection) : connection_(connection) {}

History::~History()
{
    detach();
}

void History::describeTable(std::string table, std::string labelColumn, std::string singular,
                            std::string plural, std::map<std::string, std::string> columnWords)
{
    Table& t = tables_[static_cast<std::size_t>(tableIndex(table.c_str()))];
    t.labelColumn = std::move(labelColumn);
    t.singular = std::move(singular);
    t.plural = std::move(plural);
    t.words = std::move(columnWords);
    t.read = false;
}

int History::tableIndex(const char* name)
{
    for (std::size_t i = 0; i < tables_.size(); ++i)
        if (sameName(tables_[i].name, name)) return static_cast<int>(i);
    Table t;
    t.name = name;
    tables_.push_back(std::move(t));
    return static_cast<int>(tables_.size()) - 1;
}

History::Table& History::tableInfo(int index)
{
    Table& t = tables_[static_cast<std::size_t>(index)];
    if (t.read || !connection_.connected()) return t;
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "PRAGMA table_info(" + quotedIdentifier(t.name) + ")";
    if (sqlite3_prepare_v2(connection_.handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        connection_.fail();
    std::vector<std::string> columns;
    std::vector<bool> booleans;
    int pkCount = 0, integerKey = -1;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2));
        columns.emplace_back(name ? name : "");
        FieldType fieldType{};
        booleans.push_back(fieldTypeOfColumn(type ? type : "", fieldType) &&
                           fieldType == FieldType::Boolean);
        if (sqlite3_column_int(stmt, 5) > 0) {
            ++pkCount;
            if (type && sameName(type, "INTEGER"))
                integerKey = static_cast<int>(columns.size()) - 1;
        }
    }
    sqlite3_finalize(stmt);
    t.columns = std::move(columns);
    t.booleans = std::move(booleans);
    t.alias = pkCount == 1 ? integerKey : -1;
    t.label = -1;
    for (std::size_t c = 0; c < t.columns.size(); ++c)
        if (!t.labelColumn.empty() && sameName(t.columns[c], t.labelColumn))
            t.label = static_cast<int>(c);
    t.read = true;
    return t;
}

// ---------------------------------------------------------------- recording

void History::attach()
{
    if (!connection_.connected()) return;
    sqlite3* db = connection_.handle();
    if (db == attached_) return;
    detach();
    sqlite3_preupdate_hook(db, &History::preupdate, this);
    sqlite3_commit_hook(db, &History::committed, this);
    sqlite3_rollback_hook(db, &History::rolledBack, this);
    attached_ = db;
    // A new file has other tables; what was read of the old one no longer holds.
    for (Table& t : tables_)
        t.read = false;
}

void History::detach()
{
    if (!attached_) return;
    if (connection_.connected() && connection_.handle() == attached_) {
        sqlite3_preupdate_hook(attached_, nullptr, nullptr);
        sqlite3_commit_hook(attached_, nullptr, nullptr);
        sqlite3_rollback_hook(attached_, nullptr, nullptr);
    }
    attached_ = nullptr;
}

void History::preupdate(void* self, sqlite3* db, int op, const char* database, const char* table,
                        long long key1, long long key2)
{
    auto& h = *static_cast<History*>(self);
    if (h.suspended_ || std::strcmp(database, "main") != 0 ||
        sqlite3_strnicmp(table, "sqlite_", 7) == 0)
        return;
    const int t = h.tableIndex(table);
    if (op == SQLITE_INSERT) {
        h.touch(t, key2, std::nullopt);
        return;
    }
    if (h.touched_.count({t, key1}) == 0) {
        Cells old;
        const int n = sqlite3_preupdate_count(db);
        old.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            sqlite3_value* v = nullptr;
            sqlite3_preupdate_old(db, i, &v);
            old.push_back(v ? cellOf(v) : Cell{});
        }
        h.touch(t, key1, std::move(old));
    }
    // A row given another number is the old one gone and a new one come.
    if (op == SQLITE_UPDATE && key2 != key1) h.touch(t, key2, std::nullopt);
}

void History::touch(int table, std::int64_t rowid, std::optional<Cells> before)
{
    const auto [it, fresh] = touched_.try_emplace({table, rowid}, touches_.size());
    if (fresh) touches_.push_back({table, rowid, std::move(before), transaction_});
}

int History::committed(void* self)
{
    ++static_cast<History*>(self)->transaction_;
    return 0;
}

void History::rolledBack(void* self)
{
    // Rows first touched in the transaction rolled back are as they were before it.
    auto& h = *static_cast<History*>(self);
    if (h.touches_.empty() || h.touches_.back().transaction != h.transaction_) {
        ++h.transaction_;
        return;
    }
    std::erase_if(h.touches_, [&](const Touch& t) { return t.transaction == h.transaction_; });
    h.touched_.clear();
    for (std::size_t i = 0; i < h.touches_.size(); ++i)
        h.touched_[{h.touches_[i].table, h.touches_[i].rowid}] = i;
    ++h.transaction_;
}

std::optional<Cells> History::readRow(int table, std::int64_t rowid)
{
    const Table& t = tableInfo(table);
    sqlite3_stmt* stmt = connection_.cachedStatement("SELECT * FROM " + quotedIdentifier(t.name) +
                                                     " WHERE rowid = ?1");
    sqlite3_bind_int64(stmt, 1, rowid);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) connection_.fail();
        return std::nullopt;
    }
    Cells row;
    const int n = sqlite3_column_count(stmt);
    row.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        row.push_back(cellOf(sqlite3_column_value(stmt, i)));
    sqlite3_reset(stmt);
    return row;
}

// ---------------------------------------------------------------- steps

void History::begin(std::string name)
{
    attach();
    if (depth_ == 0) {
        settle();
        name_ = std::move(name);
    }
    ++depth_;
}

void History::rename(std::string name)
{
    if (depth_ > 0) name_ = std::move(name);
}

void History::end()
{
    if (depth_ == 0) return;
    if (--depth_ == 0) finish(std::move(name_));
}

void History::settle()
{
    if (depth_ > 0 || touches_.empty()) return;
    finish(std::string());
}

void History::setLooseStepNamer(std::function<std::string(const Step&)> namer)
{
    looseNamer_ = std::move(namer);
}

void History::finish(std::string name)
{
    std::vector<Touch> touches = std::move(touches_);
    touches_.clear();
    touched_.clear();
    if (touches.empty() || !connection_.connected()) return;

    Step step;
    for (Touch& touch : touches) {
        std::optional<Cells> after = readRow(touch.table, touch.rowid);
        if (!touch.before && !after) continue;
        RowChange change;
        change.table = touch.table;
        change.rowid = touch.rowid;
        if (touch.before && after) {
            change.kind = RowChange::Kind::Changed;
            const std::size_t n = std::min(touch.before->size(), after->size());
            for (std::size_t c = 0; c < n; ++c)
                if ((*touch.before)[c] != (*after)[c]) {
                    change.columns.push_back(static_cast<int>(c));
                    change.before.push_back(std::move((*touch.before)[c]));
                    change.after.push_back((*after)[c]);
                }
            if (change.columns.empty()) continue;
            change.label = labelOf(touch.table, touch.rowid, &*after);
        }
        else {
            const Cells& whole = touch.before ? *touch.before : *after;
            change.kind = touch.before ? RowChange::Kind::Deleted : RowChange::Kind::Added;
            change.label = labelOf(touch.table, touch.rowid, &whole);
            for (std::size_t c = 0; c < whole.size(); ++c)
                change.columns.push_back(static_cast<int>(c));
            (touch.before ? change.before : change.after) =
                std::move(touch.before ? *touch.before : *after);
        }
        change.columns.shrink_to_fit();
        step.rows.push_back(std::move(change));
    }
    if (step.rows.empty()) return;
    step.rows.shrink_to_fit();
    step.id = nextId_++;
    step.time = std::time(nullptr);
    step.name = name.empty() ? (looseNamer_ ? looseNamer_(step) : "Change") : std::move(name);
    step.text = describe(step);
    account(step);
    // A new step takes the place of the steps undone before it: they can no longer be redone.
    redo_.clear();
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    keepWithinBudget();
    notify();
}

std::string History::labelOf(int table, std::int64_t rowid, const Cells* row)
{
    const Table& t = tableInfo(table);
    if (row && t.label >= 0 && static_cast<std::size_t>(t.label) < row->size()) {
        const Cell& c = (*row)[static_cast<std::size_t>(t.label)];
        if (const auto* s = std::get_if<std::string>(&c); s && !s->empty()) return *s;
        if (!std::holds_alternative<std::monostate>(c)) return valueText(table, t.label, c);
    }
    std::string word = t.singular;
    if (!word.empty())
        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    return word + " " + std::to_string(rowid);
}

std::string History::columnName(int table, int column) const
{
    const Table& t = tables_.at(static_cast<std::size_t>(table));
    return static_cast<std::size_t>(column) < t.columns.size()
               ? t.columns[static_cast<std::size_t>(column)]
               : std::to_string(column);
}

std::string History::valueText(int table, int column, const Cell& value) const
{
    const Table& t = tables_[static_cast<std::size_t>(table)];
    const bool boolean = static_cast<std::size_t>(column) < t.booleans.size() &&
                         t.booleans[static_cast<std::size_t>(column)];
    if (std::holds_alternative<std::monostate>(value)) return "nothing";
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return boolean && (*i == 0 || *i == 1) ? (*i ? "yes" : "no") : std::to_string(*i);
    if (const auto* d = std::get_if<double>(&value)) return formatGeneral(*d);
    if (const auto* s = std::get_if<std::string>(&value)) return "\"" + *s + "\"";
    return "(" + std::to_string(std::get<Blob>(value).bytes.size()) + " bytes)";
}

// "HP 20 → 13, temporary 5 → 0" for one row changed; "Aria added"; "4 characters" for many.
std::string History::describe(const Step& step)
{
    std::string text;
    if (step.rows.size() == 1) {
        const RowChange& r = step.rows.front();
        if (r.kind == RowChange::Kind::Added) return step.name + ": " + r.label + " added";
        if (r.kind == RowChange::Kind::Deleted) return step.name + ": " + r.label + " deleted";
        const Table& t = tableInfo(r.table);
        for (std::size_t i = 0; i < r.columns.size(); ++i) {
            const auto c = static_cast<std::size_t>(r.columns[i]);
            const std::string& column = c < t.columns.size() ? t.columns[c] : std::to_string(c);
            const auto word = t.words.find(column);
            text += (text.empty() ? "" : ", ") + (word != t.words.end() ? word->second : column) +
                    " " + valueText(r.table, r.columns[i], r.before[i]) + " → " +
                    valueText(r.table, r.columns[i], r.after[i]);
        }
        return step.name + ": " + text;
    }
    // Many rows: how many of each table were changed, added and deleted.
    std::map<std::pair<int, int>, int> counts;
    for (const RowChange& r : step.rows)
        ++counts[{r.table, static_cast<int>(r.kind)}];
    for (const auto& [key, count] : counts) {
        const Table& t = tables_[static_cast<std::size_t>(key.first)];
        const char* what[] = {" added", "", " deleted"};
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " +
                (count == 1 ? t.singular : t.plural) + what[key.second];
    }
    return step.name + ": " + text;
}

// ---------------------------------------------------------------- undo and redo

const Step* History::nextUndo() const
{
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it)
        if (!it->undone) return it->forgotten ? nullptr : &*it;
    return nullptr;
}

const Step* History::nextRedo() const
{
    if (redo_.empty()) return nullptr;
    for (const Step& s : steps_)
        if (s.id == redo_.back()) return s.forgotten ? nullptr : &s;
    return nullptr;
}

bool History::canUndo() const
{
    return nextUndo() != nullptr;
}

bool History::canRedo() const
{
    return nextRedo() != nullptr;
}

Step* History::findStep(std::uint64_t id)
{
    for (Step& s : steps_)
        if (s.id == id) return &s;
    return nullptr;
}

void History::undo()
{
    takeStep(true);
}

void History::redo()
{
    takeStep(false);
}

void History::takeStep(bool undoing)
{
    const std::string done = undoing ? "undone" : "redone";
    if (depth_ > 0) throw Error("An action is still being recorded; nothing was " + done);
    attach();
    settle();
    const Step* step = undoing ? nextUndo() : nextRedo();
    if (!step) return;
    Step& s = *findStep(step->id);
    move(s, undoing);
    s.undone = undoing;
    if (undoing)
        redo_.push_back(s.id);
    else
        redo_.pop_back();
    notify();
}

// Puts every row the step touched back to its state before the step (undoing) or after it,
// in one transaction, after checking that each row still holds what it is moved from.
void History::move(Step& step, bool undoing)
{
    const Suspension suspension(suspended_);
    Transaction transaction(connection_);
    for (const RowChange& r : step.rows) {
        const Cells& expected = undoing ? r.after : r.before;
        const bool present =
            undoing ? r.kind != RowChange::Kind::Deleted : r.kind != RowChange::Kind::Added;
        const std::optional<Cells> now = readRow(r.table, r.rowid);
        bool holds = now.has_value() == present;
        if (holds && now)
            for (std::size_t i = 0; i < r.columns.size() && holds; ++i) {
                const auto c = static_cast<std::size_t>(r.columns[i]);
                holds = c < now->size() && (*now)[c] == expected[i];
            }
        if (!holds)
            throw Error(r.label + " was changed by another program since; nothing was " +
                        (undoing ? "undone" : "redone"));
    }
    const auto apply = [&](const RowChange& r) {
        const Table& t = tableInfo(r.table);
        const std::string table = quotedIdentifier(t.name);
        const bool removing =
            r.kind == (undoing ? RowChange::Kind::Added : RowChange::Kind::Deleted);
        const bool restoring =
            r.kind == (undoing ? RowChange::Kind::Deleted : RowChange::Kind::Added);
        const Cells& target = undoing ? r.before : r.after;
        std::string sql;
        if (removing)
            sql = "DELETE FROM " + table + " WHERE rowid = ?1";
        else if (restoring) {
            // The whole record comes back under its own number.
            std::string names = t.alias < 0 ? "rowid" : "", marks = t.alias < 0 ? "?" : "";
            for (int c : r.columns) {
                names += (names.empty() ? "" : ", ") +
                         quotedIdentifier(t.columns[static_cast<std::size_t>(c)]);
                marks += marks.empty() ? "?" : ", ?";
            }
            sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
        }
        else {
            std::string set;
            for (int c : r.columns)
                set += (set.empty() ? "" : ", ") +
                       quotedIdentifier(t.columns[static_cast<std::size_t>(c)]) + " = ?";
            sql = "UPDATE " + table + " SET " + set + " WHERE rowid = ?";
        }
        sqlite3_stmt* stmt = connection_.cachedStatement(sql);
        int index = 1;
        if (removing)
            sqlite3_bind_int64(stmt, index++, r.rowid);
        else {
            if (restoring && t.alias < 0) sqlite3_bind_int64(stmt, index++, r.rowid);
            for (const Cell& cell : target)
                bindCell(stmt, index++, cell);
            if (!restoring) sqlite3_bind_int64(stmt, index++, r.rowid);
        }
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) connection_.fail();
    };
    // Undone last first, redone in the order done.
    if (undoing)
        for (auto it = step.rows.rbegin(); it != step.rows.rend(); ++it)
            apply(*it);
    else
        for (const RowChange& r : step.rows)
            apply(r);
    transaction.commit();
}

// ---------------------------------------------------------------- memory

void History::account(Step& step)
{
    std::size_t n = step.rows.capacity() * sizeof(RowChange);
    for (const RowChange& r : step.rows) {
        n += r.label.capacity() + r.columns.capacity() * sizeof(int);
        for (const Cell& c : r.before)
            n += cellBytes(c);
        for (const Cell& c : r.after)
            n += cellBytes(c);
    }
    step.bytes = n;
}

void History::setBudget(std::size_t bytes)
{
    budget_ = bytes;
    keepWithinBudget();
}

void History::keepWithinBudget()
{
    for (Step& s : steps_) {
        if (bytes_ <= budget_) break;
        if (s.forgotten) continue;
        // The oldest steps forget what they changed; their line stays in the log.
        bytes_ -= s.bytes;
        s.bytes = 0;
        std::vector<RowChange>().swap(s.rows);
        s.forgotten = true;
        if (std::find(redo_.begin(), redo_.end(), s.id) != redo_.end()) redo_.clear();
    }
    while (steps_.size() > maxSteps) {
        bytes_ -= steps_.front().bytes;
        if (!redo_.empty() && redo_.front() == steps_.front().id) redo_.clear();
        steps_.pop_front();
    }
}

// ---------------------------------------------------------------- listeners

int History::subscribe(std::function<void()> listener)
{
    listeners_.emplace(nextListener_, std::move(listener));
    return nextListener_++;
}

void History::unsubscribe(int id)
{
    listeners_.erase(id);
}

void History::notify()
{
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners)
        listener();
}

} // namespace store
