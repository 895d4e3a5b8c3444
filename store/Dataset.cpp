#include "store/Dataset.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Names.h"
#include "store/SqliteValues.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace store {

Dataset::Dataset(Connection& connection, std::string componentName)
    : connection_(connection), name_(std::move(componentName))
{
}

Dataset::~Dataset()
{
    if (master_) std::erase(master_->details_, this);
    for (Dataset* detail : details_)
        detail->master_ = nullptr;
    changed(DatasetEvent::Destroyed);
}

void Dataset::setTable(std::string tableName)
{
    source_ = std::move(tableName);
    isTable_ = true;
}

void Dataset::setQuery(std::string queryName)
{
    source_ = std::move(queryName);
    isTable_ = false;
}

void Dataset::setIndexName(std::string indexName)
{
    indexName_ = std::move(indexName);
}

void Dataset::setFields(std::vector<FieldDef> fields)
{
    declared_ = std::move(fields);
    fields_ = declared_;
}

void Dataset::setMaster(Dataset& master, std::string masterField, std::string indexField)
{
    master_ = &master;
    master.details_.push_back(this);
    masterField_ = std::move(masterField);
    indexField_ = std::move(indexField);
}

void Dataset::setCalcFields(std::function<void(Dataset&)> calc, bool eager)
{
    calc_ = std::move(calc);
    eagerCalc_ = eager;
}

// ---------------------------------------------------------------- errors and checks

void Dataset::fail(std::string_view message) const
{
    throw Error(prefixed(name_, message));
}

void Dataset::requireActive() const
{
    if (!active()) fail("Cannot perform this operation on a closed dataset");
}

void Dataset::requireEditing() const
{
    if (!editing()) fail("Dataset not in edit or insert mode");
}

void Dataset::requireWritable() const
{
    if (!isTable_) fail("Cannot modify a read-only dataset");
}

std::string Dataset::conflictMessage() const
{
    return prefixed(
        name_,
        "The record was changed or deleted by another program since it was "
        "read, so this change was not saved; press F5 (Reload) or Esc in the roster to drop it and "
        "read the record again");
}

// ---------------------------------------------------------------- opening

void Dataset::setActive(bool on)
{
    if (on)
        open();
    else
        close();
}

void Dataset::resolveFields()
{
    sqlite3* db = connection_.handle();
    // Preparing a query over the source gives the engine's own message for a missing table
    // or query, or for a saved query that no longer fits its tables.
    const std::string probe = "SELECT * FROM " + quotedIdentifier(source_);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, probe.c_str(), -1, &stmt, nullptr) != SQLITE_OK) connection_.fail();
    sqlite3_finalize(stmt);

    struct ColumnInfo {
        std::string name, type;
        bool rowidAlias;
    };
    std::vector<ColumnInfo> info;
    if (sqlite3_prepare_v2(db, "SELECT name, type, pk FROM pragma_table_info(?1)", -1, &stmt,
                           nullptr) != SQLITE_OK)
        connection_.fail();
    sqlite3_bind_text(stmt, 1, source_.c_str(), -1, SQLITE_TRANSIENT);
    int primaryKeyColumns = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const auto* type = sqlite3_column_text(stmt, 1);
        c.type = type ? reinterpret_cast<const char*>(type) : "";
        c.rowidAlias = sqlite3_column_int(stmt, 2) > 0;
        primaryKeyColumns += c.rowidAlias;
        info.push_back(std::move(c));
    }
    sqlite3_finalize(stmt);
    // Only a lone INTEGER PRIMARY KEY of a table is the row's own number.
    for (ColumnInfo& c : info)
        c.rowidAlias =
            c.rowidAlias && isTable_ && primaryKeyColumns == 1 && sameName(c.type, "INTEGER");

    std::vector<FieldDef> fields;
    std::vector<Column> columns;
    if (declared_.empty()) {
        for (const ColumnInfo& c : info) {
            FieldDef def;
            def.name = c.name;
            if (!fieldTypeOfColumn(c.type, def.type)) def.type = FieldType::Float;
            // "VARCHAR(255)": a text column keeps its length, as the edits bound to it do.
            const auto open = c.type.find('('), close = c.type.find(')');
            if (def.type == FieldType::String && open != std::string::npos && close > open)
                def.size = std::atoi(c.type.substr(open + 1, close - open - 1).c_str());
            def.readOnly = c.rowidAlias;
            columns.push_back({static_cast<int>(fields.size()), c.name});
            fields.push_back(std::move(def));
        }
    }
    else {
        fields = declared_;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            FieldDef& def = fields[i];
            if (def.derived) continue;
            const auto it = std::find_if(info.begin(), info.end(), [&](const ColumnInfo& c) {
                return sameName(c.name, def.name);
            });
            if (it == info.end()) fail(formatMessage("Field '%s' not found", {def.name}));
            FieldType columnType;
            if (fieldTypeOfColumn(it->type, columnType) && !columnFitsField(columnType, def.type))
                fail(formatMessage("Type mismatch for field '%s', expecting: %s actual: %s",
                                   {def.name, fieldTypeName(def.type), fieldTypeName(columnType)}));
            def.readOnly = def.readOnly || it->rowidAlias;
            columns.push_back({static_cast<int>(i), it->name});
        }
    }
    fields_ = std::move(fields);
    columns_ = std::move(columns);
}

std::string Dataset::selectSql() const
{
    std::string sql = isTable_ ? "SELECT rowid" : "SELECT ";
    bool firstColumn = !isTable_;
    for (const Column& c : columns_) {
        if (!firstColumn) sql += ", ";
        sql += quotedIdentifier(c.name);
        firstColumn = false;
    }
    if (columns_.empty() && !isTable_) sql += "1";
    return sql + " FROM " + quotedIdentifier(source_);
}

Dataset::Row Dataset::readRow(sqlite3_stmt* stmt) const
{
    Row row;
    row.values.resize(fields_.size());
    const int offset = isTable_ ? 1 : 0;
    if (isTable_) row.rowid = sqlite3_column_int64(stmt, 0);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const int f = columns_[c].field;
        const int column = static_cast<int>(c) + offset;
        Value& value = row.values[static_cast<std::size_t>(f)];
        value = readColumn(stmt, column, fields_[static_cast<std::size_t>(f)].type);
        if (auto stored = storedUnlessSame(stmt, column, value))
            row.asStored.emplace_back(f, std::move(*stored));
    }
    return row;
}

void Dataset::open()
{
    if (active()) return;
    if (source_.empty()) fail("Missing table or query name");
    resolveFields();

    std::string order;
    if (isTable_ && !indexName_.empty()) {
        if (sameName(indexName_, "PrimaryKey")) {
            order = " ORDER BY rowid";
        }
        else {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(connection_.handle(),
                                   "SELECT name FROM pragma_index_info(?1) ORDER BY seqno", -1,
                                   &stmt, nullptr) != SQLITE_OK)
                connection_.fail();
            sqlite3_bind_text(stmt, 1, indexName_.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                order += order.empty() ? " ORDER BY " : ", ";
                order +=
                    quotedIdentifier(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            }
            sqlite3_finalize(stmt);
            if (order.empty()) fail(formatMessage("Index '%s' not found", {indexName_}));
            order += ", rowid";
        }
    }
    else if (isTable_) {
        order = " ORDER BY rowid";
    }

    const std::string sql = selectSql() + order;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(connection_.handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        connection_.fail();
    std::vector<std::unique_ptr<Row>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        rows.push_back(std::make_unique<Row>(readRow(stmt)));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) connection_.fail();

    rows_ = std::move(rows);
    written_.assign(fields_.size(), false);
    sortText_.clear();
    sortKeys_.clear();
    restrictedFor_.reset();
    state_ = DatasetState::Browse;
    if (master_) {
        restrict(masterKey());
    }
    else {
        view_.clear();
        view_.reserve(rows_.size());
        for (auto& r : rows_)
            view_.push_back(r.get());
        cursor_ = view_.empty() ? -1 : 0;
        if (eagerCalc_)
            for (Row* r : view_)
                computeDerived(*r);
    }
    changed(DatasetEvent::Opened);
}

void Dataset::close()
{
    if (!active()) return;
    state_ = DatasetState::Inactive;
    view_.clear();
    rows_.clear();
    buffer_ = Row();
    cursor_ = -1;
    sortText_.clear();
    sortKeys_.clear();
    changed(DatasetEvent::Closed);
}

void Dataset::reopen()
{
    close();
    open();
}

// ---------------------------------------------------------------- fields

std::optional<int> Dataset::findField(std::string_view fieldName) const
{
    // Names are nearly always written as declared: that plain comparison first, as the actions
    // look fields up on every record of a group walk.
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name == fieldName) return static_cast<int>(i);
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (sameName(fields_[i].name, fieldName)) return static_cast<int>(i);
    return std::nullopt;
}

Field Dataset::fieldByName(std::string_view fieldName)
{
    const auto index = findField(fieldName);
    if (!index) fail(formatMessage("Field '%s' not found", {fieldName}));
    return Field(*this, *index);
}

Dataset::Row* Dataset::presentedRow() const
{
    if (presentingNothing_) return nullptr;
    if (presented_) return presented_;
    if (editing()) return const_cast<Row*>(&buffer_);
    if (cursor_ >= 0 && cursor_ < static_cast<int>(view_.size()))
        return view_[static_cast<std::size_t>(cursor_)];
    return nullptr;
}

Dataset::Row* Dataset::displayRow(int row)
{
    if (state_ == DatasetState::Insert && row == static_cast<int>(view_.size())) return &buffer_;
    if (state_ == DatasetState::Edit && row == cursor_) return &buffer_;
    if (row < 0 || row >= static_cast<int>(view_.size())) return nullptr;
    return view_[static_cast<std::size_t>(row)];
}

Value Dataset::valueAt(int fieldIndex) const
{
    Row* row = presentedRow();
    if (!row) return {};
    if (fields_.at(static_cast<std::size_t>(fieldIndex)).derived && !row->derivedValid)
        const_cast<Dataset*>(this)->computeDerived(*row);
    return row->values.at(static_cast<std::size_t>(fieldIndex));
}

Value Dataset::coerce(const Value& value, const FieldDef& def) const
{
    if (value.isNull()) return {};
    switch (def.type) {
    case FieldType::Integer:
        return value.toInteger();
    case FieldType::Boolean:
        return value.toBoolean();
    case FieldType::Float:
        return value.toFloat();
    case FieldType::Decimal:
        return value.toDecimal();
    case FieldType::String:
        return value.toString();
    }
    return value;
}

void Dataset::setValueAt(int fieldIndex, const Value& value)
{
    const FieldDef& def = fields_.at(static_cast<std::size_t>(fieldIndex));
    if (def.derived) {
        // Derived fields are the calculation's alone; it writes into the record it computes.
        if (!computing_ || !presentedRow())
            throw Error(formatMessage("Field '%s' cannot be modified", {def.name}));
        presentedRow()->values[static_cast<std::size_t>(fieldIndex)] = coerce(value, def);
        return;
    }
    requireEditing();
    if (def.readOnly) throw Error(formatMessage("Field '%s' cannot be modified", {def.name}));
    buffer_.values[static_cast<std::size_t>(fieldIndex)] = coerce(value, def);
    written_[static_cast<std::size_t>(fieldIndex)] = true;
    // Computed again before anything reads them: an action writing a dozen fields computes
    // them once, not a dozen times.
    if (eagerCalc_)
        computeDerived(buffer_);
    else
        buffer_.derivedValid = false;
    changed(DatasetEvent::RecordChanged);
}

void Dataset::computeDerived(Row& row)
{
    row.derivedValid = true;
    if (!calc_) return;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].derived) row.values[i] = Value();
    PresentGuard guard(*this, &row);
    const bool wasComputing = computing_;
    computing_ = true;
    try {
        calc_(*this);
    }
    catch (...) {
        computing_ = wasComputing;
        throw;
    }
    computing_ = wasComputing;
}

// ---------------------------------------------------------------- editing

bool Dataset::modified() const
{
    return editing() && std::find(written_.begin(), written_.end(), true) != written_.end();
}

void Dataset::setState(DatasetState state)
{
    if (state_ == state) return;
    state_ = state;
    changed(DatasetEvent::StateChanged);
}

void Dataset::edit()
{
    requireActive();
    if (editing()) return;
    written_.assign(fields_.size(), false);
    if (view_.empty()) {
        // Nothing to edit: a new record instead, which a detail gives its master's key.
        requireWritable();
        buffer_ = Row();
        buffer_.values.assign(fields_.size(), Value());
        if (master_)
            if (const auto link = findField(indexField_))
                buffer_.values[static_cast<std::size_t>(*link)] = masterKey();
        computeDerived(buffer_);
        setState(DatasetState::Insert);
        changed(DatasetEvent::RowsChanged);
        changed(DatasetEvent::CursorMoved);
        return;
    }
    requireWritable();
    buffer_ = *view_[static_cast<std::size_t>(cursor_)];
    computeDerived(buffer_);
    setState(DatasetState::Edit);
    changed(DatasetEvent::RecordChanged);
}

void Dataset::cancel()
{
    if (!editing()) return;
    const bool inserting = state_ == DatasetState::Insert;
    buffer_ = Row();
    written_.assign(fields_.size(), false);
    setState(DatasetState::Browse);
    if (inserting) {
        changed(DatasetEvent::RowsChanged);
        changed(DatasetEvent::CursorMoved);
    }
    else {
        changed(DatasetEvent::RecordChanged);
    }
}

void Dataset::settle()
{
    if (!editing()) return;
    if (modified())
        post();
    else
        cancel();
}

Dataset::Row Dataset::readBack(std::int64_t rowid)
{
    sqlite3_stmt* stmt = connection_.cachedStatement(selectSql() + " WHERE rowid = ?1");
    sqlite3_bind_int64(stmt, 1, rowid);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) throw Error(conflictMessage());
    if (rc != SQLITE_ROW) connection_.fail();
    Row row = readRow(stmt);
    sqlite3_reset(stmt);
    return row;
}

void Dataset::post()
{
    requireEditing();
    if (state_ == DatasetState::Edit) {
        postEdit();
        return;
    }
    std::vector<int> toWrite;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (written_[i]) toWrite.push_back(static_cast<int>(i));
    if (master_)
        if (const auto link = findField(indexField_))
            if (!written_[static_cast<std::size_t>(*link)] &&
                !buffer_.values[static_cast<std::size_t>(*link)].isNull())
                toWrite.push_back(*link);
    Transaction transaction(connection_);
    const std::int64_t rowid = insertRow(buffer_, toWrite);
    Row fresh = readBack(rowid);
    transaction.commit();
    buffer_ = Row();
    written_.assign(fields_.size(), false);
    addRow(std::move(fresh));
}

std::int64_t Dataset::insertRow(const Row& row, const std::vector<int>& fieldsToWrite)
{
    std::string names, marks;
    for (int f : fieldsToWrite) {
        if (!names.empty()) {
            names += ", ";
            marks += ", ";
        }
        names += quotedIdentifier(fields_[static_cast<std::size_t>(f)].name);
        marks += "?";
    }
    const std::string sql = names.empty()
                                ? "INSERT INTO " + quotedIdentifier(source_) + " DEFAULT VALUES"
                                : "INSERT INTO " + quotedIdentifier(source_) + " (" + names +
                                      ") VALUES (" + marks + ")";
    sqlite3_stmt* stmt = connection_.cachedStatement(sql);
    for (std::size_t i = 0; i < fieldsToWrite.size(); ++i)
        bindValue(stmt, static_cast<int>(i) + 1,
                  row.values[static_cast<std::size_t>(fieldsToWrite[i])]);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) connection_.fail();
    return sqlite3_last_insert_rowid(connection_.handle());
}

void Dataset::addRow(Row row)
{
    rows_.push_back(std::make_unique<Row>(std::move(row)));
    view_.push_back(rows_.back().get());
    cursor_ = static_cast<int>(view_.size()) - 1;
    if (eagerCalc_) computeDerived(*view_.back());
    state_ = DatasetState::Browse;
    changed(DatasetEvent::StateChanged);
    changed(DatasetEvent::RowsChanged);
    changed(DatasetEvent::CursorMoved);
}

void Dataset::postEdit()
{
    Row& current = *view_[static_cast<std::size_t>(cursor_)];
    std::vector<int> toWrite;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (written_[i]) toWrite.push_back(static_cast<int>(i));
    if (!toWrite.empty()) {
        // Only the fields written, and only while each still holds what was read.
        std::string set;
        for (int f : toWrite)
            set += (set.empty() ? "" : ", ") +
                   quotedIdentifier(fields_[static_cast<std::size_t>(f)].name) + " = ?";
        const std::string sql = "UPDATE " + quotedIdentifier(source_) + " SET " + set + " WHERE " +
                                heldAsReadClause(toWrite);
        Transaction transaction(connection_);
        sqlite3_stmt* stmt = connection_.cachedStatement(sql);
        int index = 1;
        for (int f : toWrite)
            bindValue(stmt, index++, buffer_.values[static_cast<std::size_t>(f)]);
        bindHeldAsRead(stmt, index, current, toWrite);
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) connection_.fail();
        if (sqlite3_changes(connection_.handle()) != 1) throw Error(conflictMessage());
        Row fresh = readBack(current.rowid);
        transaction.commit();
        current = std::move(fresh);
        if (eagerCalc_) computeDerived(current);
    }
    buffer_ = Row();
    written_.assign(fields_.size(), false);
    setState(DatasetState::Browse);
    changed(DatasetEvent::RecordChanged);
}

void Dataset::deleteRecord()
{
    requireActive();
    if (state_ == DatasetState::Insert) {
        cancel();
        return;
    }
    if (view_.empty()) fail("Cannot perform this operation on an empty dataset");
    requireWritable();
    Row* row = view_[static_cast<std::size_t>(cursor_)];
    {
        std::vector<int> stored;
        for (const Column& c : columns_)
            stored.push_back(c.field);
        Transaction transaction(connection_);
        sqlite3_stmt* stmt = connection_.cachedStatement(
            "DELETE FROM " + quotedIdentifier(source_) + " WHERE " + heldAsReadClause(stored));
        bindHeldAsRead(stmt, 1, *row, stored);
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) connection_.fail();
        if (sqlite3_changes(connection_.handle()) == 0 && rowExists(row->rowid))
            throw Error(conflictMessage());
        transaction.commit();
    }
    // A row another program deleted first is gone all the same: the snapshot follows.
    view_.erase(view_.begin() + cursor_);
    std::erase_if(rows_, [row](const std::unique_ptr<Row>& r) { return r.get() == row; });
    if (cursor_ >= static_cast<int>(view_.size())) cursor_ = static_cast<int>(view_.size()) - 1;
    buffer_ = Row();
    written_.assign(fields_.size(), false);
    state_ = DatasetState::Browse;
    changed(DatasetEvent::StateChanged);
    changed(DatasetEvent::RowsChanged);
    changed(DatasetEvent::CursorMoved);
}

bool Dataset::rowExists(std::int64_t rowid)
{
    sqlite3_stmt* stmt = connection_.cachedStatement("SELECT 1 FROM " + quotedIdentifier(source_) +
                                                     " WHERE rowid = ?1");
    sqlite3_bind_int64(stmt, 1, rowid);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) connection_.fail();
    return rc == SQLITE_ROW;
}

void Dataset::requireUnchanged(const std::vector<std::string>& fieldNames)
{
    requireActive();
    if (view_.empty()) fail("Cannot perform this operation on an empty dataset");
    std::vector<int> fieldsToCompare;
    for (const std::string& name : fieldNames)
        fieldsToCompare.push_back(fieldByName(name).index());
    const Row& row = *view_[static_cast<std::size_t>(cursor_)];
    sqlite3_stmt* stmt = connection_.cachedStatement("SELECT 1 FROM " + quotedIdentifier(source_) +
                                                     " WHERE " + heldAsReadClause(fieldsToCompare));
    bindHeldAsRead(stmt, 1, row, fieldsToCompare);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) connection_.fail();
    if (rc != SQLITE_ROW) throw Error(conflictMessage());
}

std::string Dataset::heldAsReadClause(const std::vector<int>& fieldsToCompare) const
{
    std::string where = "rowid = ?";
    for (int f : fieldsToCompare)
        where += " AND " + quotedIdentifier(fields_[static_cast<std::size_t>(f)].name) + " IS ?";
    return where;
}

void Dataset::bindHeldAsRead(sqlite3_stmt* stmt, int first, const Row& row,
                             const std::vector<int>& fieldsToCompare) const
{
    sqlite3_bind_int64(stmt, first++, row.rowid);
    for (int f : fieldsToCompare)
        bindAsRead(stmt, first++, row, f);
}

void Dataset::bindAsRead(sqlite3_stmt* stmt, int index, const Row& row, int f) const
{
    for (const auto& [field, stored] : row.asStored)
        if (field == f) {
            bindStored(stmt, index, stored);
            return;
        }
    bindValue(stmt, index, row.values[static_cast<std::size_t>(f)]);
}

void Dataset::appendValues(const std::vector<Value>& values)
{
    requireActive();
    settle();
    requireWritable();
    if (values.size() > fields_.size()) fail("Too many values for the record");
    Row row;
    row.values.assign(fields_.size(), Value());
    std::vector<bool> toWrite(fields_.size(), false);
    if (master_)
        if (const auto link = findField(indexField_)) {
            row.values[static_cast<std::size_t>(*link)] = masterKey();
            toWrite[static_cast<std::size_t>(*link)] = true;
        }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (fields_[i].derived || fields_[i].readOnly)
            throw Error(formatMessage("Field '%s' cannot be modified", {fields_[i].name}));
        row.values[i] = coerce(values[i], fields_[i]);
        toWrite[i] = true;
    }
    std::vector<int> fieldsToWrite;
    for (std::size_t i = 0; i < toWrite.size(); ++i)
        if (toWrite[i]) fieldsToWrite.push_back(static_cast<int>(i));
    Transaction transaction(connection_);
    const std::int64_t rowid = insertRow(row, fieldsToWrite);
    Row fresh = readBack(rowid);
    transaction.commit();
    addRow(std::move(fresh));
}

bool Dataset::refreshRecords(const std::vector<std::int64_t>& rowids)
{
    if (state_ != DatasetState::Browse || !isTable_ || master_) return false;
    std::vector<std::pair<Row*, Row>> fresh;
    for (const std::int64_t rowid : rowids) {
        const auto held =
            std::find_if(rows_.begin(), rows_.end(),
                         [&](const std::unique_ptr<Row>& r) { return r->rowid == rowid; });
        if (held == rows_.end()) return false;
        sqlite3_stmt* stmt = connection_.cachedStatement(selectSql() + " WHERE rowid = ?1");
        sqlite3_bind_int64(stmt, 1, rowid);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW) {
            sqlite3_reset(stmt);
            if (rc != SQLITE_DONE) connection_.fail();
            return false;
        }
        fresh.emplace_back(held->get(), readRow(stmt));
        sqlite3_reset(stmt);
    }
    Row* const current = cursor_ >= 0 ? view_[static_cast<std::size_t>(cursor_)] : nullptr;
    for (auto& [row, values] : fresh) {
        *row = std::move(values);
        if (eagerCalc_) computeDerived(*row);
    }
    sortView();
    if (current)
        cursor_ = static_cast<int>(std::find(view_.begin(), view_.end(), current) - view_.begin());
    changed(DatasetEvent::RowsChanged);
    changed(DatasetEvent::RecordChanged);
    return true;
}

// ---------------------------------------------------------------- moving

void Dataset::moveTo(int recNo)
{
    requireActive();
    if (view_.empty()) {
        settle();
        return;
    }
    recNo = std::clamp(recNo, 0, static_cast<int>(view_.size()) - 1);
    if (recNo == cursor_ && state_ != DatasetState::Insert) return;
    settle();
    recNo = std::clamp(recNo, 0, static_cast<int>(view_.size()) - 1);
    if (recNo == cursor_) return;
    cursor_ = recNo;
    changed(DatasetEvent::CursorMoved);
}

void Dataset::first()
{
    requireActive();
    settle();
    if (!view_.empty() && cursor_ != 0) {
        cursor_ = 0;
        changed(DatasetEvent::CursorMoved);
    }
}

void Dataset::last()
{
    requireActive();
    settle();
    const int end = static_cast<int>(view_.size()) - 1;
    if (end >= 0 && cursor_ != end) {
        cursor_ = end;
        changed(DatasetEvent::CursorMoved);
    }
}

void Dataset::next()
{
    requireActive();
    settle();
    if (cursor_ + 1 < static_cast<int>(view_.size())) {
        ++cursor_;
        changed(DatasetEvent::CursorMoved);
    }
}

void Dataset::prior()
{
    requireActive();
    settle();
    if (cursor_ > 0) {
        --cursor_;
        changed(DatasetEvent::CursorMoved);
    }
}

int Dataset::recordCount() const
{
    requireActive();
    return static_cast<int>(view_.size());
}

int Dataset::displayCount() const
{
    return static_cast<int>(view_.size()) + (state_ == DatasetState::Insert ? 1 : 0);
}

int Dataset::displayCurrent() const
{
    return state_ == DatasetState::Insert ? static_cast<int>(view_.size()) : cursor_;
}

// ---------------------------------------------------------------- order and restriction

void Dataset::setSort(std::string_view sortText)
{
    requireActive();
    std::vector<SortKey> keys;
    std::string_view rest = sortText;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string part(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        while (!part.empty() && std::isspace(static_cast<unsigned char>(part.back())))
            part.pop_back();
        while (!part.empty() && std::isspace(static_cast<unsigned char>(part.front())))
            part.erase(0, 1);
        if (part.empty()) continue;
        bool descending = false;
        const std::size_t blank = part.find_last_of(' ');
        if (blank != std::string::npos) {
            const std::string word = part.substr(blank + 1);
            if (sameName(word, "DESC") || sameName(word, "ASC")) {
                descending = sameName(word, "DESC");
                part.erase(blank);
                while (!part.empty() && part.back() == ' ')
                    part.pop_back();
            }
        }
        const auto field = findField(part);
        if (!field) fail(formatMessage("Field '%s' not found", {part}));
        keys.push_back({*field, descending});
    }
    settle();
    sortText_ = std::string(sortText);
    sortKeys_ = std::move(keys);
    Row* current = cursor_ >= 0 ? view_[static_cast<std::size_t>(cursor_)] : nullptr;
    sortView();
    if (current)
        cursor_ = static_cast<int>(std::find(view_.begin(), view_.end(), current) - view_.begin());
    changed(DatasetEvent::RowsChanged);
    changed(DatasetEvent::CursorMoved);
}

void Dataset::sortView()
{
    if (sortKeys_.empty()) return;
    for (const SortKey& key : sortKeys_)
        if (fields_[static_cast<std::size_t>(key.field)].derived)
            for (Row* r : view_)
                if (!r->derivedValid) computeDerived(*r);
    std::stable_sort(view_.begin(), view_.end(), [this](const Row* a, const Row* b) {
        for (const SortKey& key : sortKeys_) {
            const int c = compareValues(a->values[static_cast<std::size_t>(key.field)],
                                        b->values[static_cast<std::size_t>(key.field)]);
            if (c != 0) return key.descending ? c > 0 : c < 0;
        }
        return false;
    });
}

Value Dataset::currentValueOf(std::string_view fieldName) const
{
    const auto index = findField(fieldName);
    if (!index) return {};
    const Row* row =
        editing() ? &buffer_ : (cursor_ >= 0 ? view_[static_cast<std::size_t>(cursor_)] : nullptr);
    return row ? row->values[static_cast<std::size_t>(*index)] : Value();
}

Value Dataset::masterKey() const
{
    return master_ && master_->active() ? master_->currentValueOf(masterField_) : Value();
}

void Dataset::masterChanged(bool masterOpened)
{
    if (!active() || !master_) return;
    const Value key = masterKey();
    // Moving between two records of one name keeps the rows as they are and reads nothing.
    if (!masterOpened && restrictedFor_ && *restrictedFor_ == key) return;
    restrict(key);
}

void Dataset::restrict(const Value& key)
{
    if (editing()) settle();
    const auto link = findField(indexField_);
    view_.clear();
    for (auto& r : rows_)
        if (link && r->values[static_cast<std::size_t>(*link)] == key) view_.push_back(r.get());
    sortView();
    cursor_ = view_.empty() ? -1 : 0;
    restrictedFor_ = key;
    if (eagerCalc_)
        for (Row* r : view_)
            computeDerived(*r);
    changed(DatasetEvent::RowsChanged);
    changed(DatasetEvent::CursorMoved);
}

// ---------------------------------------------------------------- listeners

int Dataset::subscribe(Listener listener)
{
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void Dataset::unsubscribe(int id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Dataset::changed(DatasetEvent event)
{
    // The details follow first, so that whoever listens to the roster sees them settled.
    if (event == DatasetEvent::Opened || event == DatasetEvent::CursorMoved ||
        event == DatasetEvent::RecordChanged || event == DatasetEvent::RowsChanged)
        for (Dataset* detail : details_)
            detail->masterChanged(event == DatasetEvent::Opened);
    if (event != DatasetEvent::Destroyed && controlsHeld()) {
        heldEvents_ |= 1u << static_cast<unsigned>(event);
        return;
    }
    const auto listeners = listeners_; // a listener may unsubscribe while it is told
    for (const auto& entry : listeners)
        entry.second(event);
}

bool Dataset::controlsHeld() const
{
    return holds_ > 0 || (master_ && master_->controlsHeld());
}

void Dataset::tellHeld()
{
    const unsigned held = std::exchange(heldEvents_, 0u);
    const auto was = [held](DatasetEvent e) {
        return (held & 1u << static_cast<unsigned>(e)) != 0;
    };
    std::vector<DatasetEvent> events;
    // A close and open while held is told as what the dataset is now.
    if (was(DatasetEvent::Closed) || was(DatasetEvent::Opened))
        events.push_back(active() ? DatasetEvent::Opened : DatasetEvent::Closed);
    for (DatasetEvent e : {DatasetEvent::RowsChanged, DatasetEvent::CursorMoved,
                           DatasetEvent::RecordChanged, DatasetEvent::StateChanged})
        if (was(e) && active()) events.push_back(e);
    for (DatasetEvent e : events) {
        const auto listeners = listeners_;
        for (const auto& entry : listeners)
            entry.second(e);
    }
    for (Dataset* detail : details_)
        if (!detail->controlsHeld()) detail->tellHeld();
}

Dataset::ControlsHeld::ControlsHeld(Dataset& dataset) : dataset_(dataset)
{
    ++dataset_.holds_;
}

Dataset::ControlsHeld::~ControlsHeld()
{
    if (--dataset_.holds_ != 0 || dataset_.controlsHeld()) return;
    try {
        dataset_.tellHeld();
    }
    catch (...) {
        // A control that fails to show the change is shown again by the next one.
    }
}

} // namespace store
