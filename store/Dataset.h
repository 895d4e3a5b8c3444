#pragma once

#include "store/Field.h"
#include "store/FieldDef.h"
#include "store/SqliteValues.h"
#include "store/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace store {

class Connection;

enum class DatasetState { Inactive, Browse, Edit, Insert };

// What a dataset tells the controls that show it.
enum class DatasetEvent {
    Opened,
    Closed,
    RowsChanged,   // the set or the order of the records changed
    CursorMoved,   // another record became current
    RecordChanged, // the values of the current record (or its pending change) changed
    StateChanged,  // browse, edit or insert
    Destroyed,
};

// A snapshot of a table or saved query with one current record. It reads its rows when it
// opens and afterwards sees only its own changes until it is opened again. A post writes at
// once, in a transaction of its own, only the fields written since the edit, and only while
// the row still holds what was read: a row another program changed meanwhile is reported,
// never overwritten.
class Dataset {
public:
    Dataset(Connection& connection, std::string componentName);
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    // --- set-up, before the first open
    void setTable(std::string tableName);     // a table, opened directly, writable
    void setQuery(std::string queryName);     // a saved query opened by name, read-only
    void setIndexName(std::string indexName); // "PrimaryKey" or an index of the table
    // Declared fields in their order; without any, the dataset takes every column.
    void setFields(std::vector<FieldDef> fields);
    // Holds only the rows whose indexField equals the master's current masterField.
    void setMaster(Dataset& master, std::string masterField, std::string indexField);
    // Computes the derived fields of the presented record. A lazy dataset computes a record's
    // fields when they are first read after the record was read or changed (the rule depends
    // on the record alone); an eager one computes every row as soon as it is read.
    void setCalcFields(std::function<void(Dataset&)> calc, bool eager = false);

    const std::string& name() const { return name_; }
    Connection& connection() const { return connection_; }
    DatasetState state() const { return state_; }
    bool active() const { return state_ != DatasetState::Inactive; }
    bool editing() const { return state_ == DatasetState::Edit || state_ == DatasetState::Insert; }

    // --- opening and closing
    void setActive(bool on);
    void open();
    void close();  // a pending change is dropped
    void reopen(); // close, then open: reads the database again
    // Reads these records again, as the file holds them now, keeping the others, the order and
    // the current record; false, with nothing changed, when the dataset is not a browsing
    // table of its own or one of them is not among its records or in the file.
    bool refreshRecords(const std::vector<std::int64_t>& rowids);

    // --- fields
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const FieldDef& fieldDef(int index) const
    {
        return fields_.at(static_cast<std::size_t>(index));
    }
    std::optional<int> findField(std::string_view fieldName) const;
    Field fieldByName(std::string_view fieldName); // raises "Field '%s' not found"
    Field field(int index) { return Field(*this, index); }
    Value fieldValue(std::string_view fieldName) { return fieldByName(fieldName).value(); }

    // --- editing
    void edit();
    void post();
    void cancel();
    bool modified() const;
    // Posts a pending change when a field was written, else drops it, as a move does.
    void settle();
    // Deletes the current record, only while its row still holds what was read: a row
    // another program changed meanwhile (or a row number now used by another record) is
    // refused with the conflict message; a row already deleted is gone all the same.
    void deleteRecord();
    // Raises the conflict message unless the current record's row still holds, in these
    // fields, what was read. Run inside the transaction of the write it guards.
    void requireUnchanged(const std::vector<std::string>& fieldNames);
    void appendValues(const std::vector<Value>& values);

    // --- moving; each settles a pending change first
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int recNo); // as a click on a grid row: settles only when the row changes

    int recordCount() const;              // raises on a closed dataset
    int recNo() const { return cursor_; } // the current record's place, -1 when there is none
    bool isEmpty() const { return view_.empty(); }

    // The rows a grid shows: the records, and a new record while one is being inserted.
    int displayCount() const;
    int displayCurrent() const;

    // Orders the records by "Field[ DESC][, Field2 ...]" until the dataset is closed.
    void setSort(std::string_view sortText);
    const std::string& sort() const { return sortText_; }

    // Presents display row `row` while fn runs, as a grid does while it paints that row.
    template <class F> decltype(auto) withRecord(int row, F&& fn)
    {
        PresentGuard guard(*this, displayRow(row));
        return fn();
    }

    // --- listeners
    using Listener = std::function<void(DatasetEvent)>;
    int subscribe(Listener listener);
    void unsubscribe(int id);

    // While a hold lives, the controls showing this dataset and its details are not told of
    // each change (the details still follow); when the last hold ends they are told once, so
    // that a step over many records is shown when it ends.
    class ControlsHeld {
    public:
        explicit ControlsHeld(Dataset& dataset);
        ~ControlsHeld();
        ControlsHeld(const ControlsHeld&) = delete;
        ControlsHeld& operator=(const ControlsHeld&) = delete;

    private:
        Dataset& dataset_;
    };

    // --- used by Field
    Value valueAt(int fieldIndex) const;
    void setValueAt(int fieldIndex, const Value& value);

private:
    struct Row {
        std::vector<Value> values;
        std::int64_t rowid = 0;
        bool derivedValid = false;
        // Fields whose stored content their value would not bind back to (a value that does
        // not fit its field), with that content: the checks compare what is stored.
        std::vector<std::pair<int, StoredValue>> asStored;
    };
    struct Column {
        int field; // index into fields_
        std::string name;
    };
    class PresentGuard {
    public:
        // A row the dataset does not have presents no record at all, not the current one.
        PresentGuard(Dataset& d, Row* row)
            : d_(d), saved_(d.presented_), savedNothing_(d.presentingNothing_)
        {
            d_.presented_ = row;
            d_.presentingNothing_ = row == nullptr;
        }
        ~PresentGuard()
        {
            d_.presented_ = saved_;
            d_.presentingNothing_ = savedNothing_;
        }
        PresentGuard(const PresentGuard&) = delete;
        PresentGuard& operator=(const PresentGuard&) = delete;

    private:
        Dataset& d_;
        Row* saved_;
        bool savedNothing_;
    };

    [[noreturn]] void fail(std::string_view message) const;
    void requireActive() const;
    void requireEditing() const;
    void requireWritable() const;
    void resolveFields();
    std::string selectSql() const;
    Row readRow(sqlite3_stmt* stmt) const;
    Row readBack(std::int64_t rowid);
    bool rowExists(std::int64_t rowid);
    Value coerce(const Value& value, const FieldDef& def) const;
    Row* presentedRow() const;
    Row* displayRow(int row);
    void computeDerived(Row& row);
    void setState(DatasetState state);
    void postEdit();
    std::int64_t insertRow(const Row& row, const std::vector<int>& fieldsToWrite);
    void addRow(Row row);
    Value currentValueOf(std::string_view fieldName) const;
    Value masterKey() const;
    void masterChanged(bool masterOpened);
    void restrict(const Value& key);
    void sortView();
    void changed(DatasetEvent event);
    bool controlsHeld() const;
    void tellHeld(); // tells the listeners, once each, what they were not told while held
    std::string conflictMessage() const;
    // Binds what the row held in field f when it was read, as stored.
    void bindAsRead(sqlite3_stmt* stmt, int index, const Row& row, int f) const;
    // "rowid = ? AND a IS ? AND b IS ?": placeholders for the rowid and the given fields.
    std::string heldAsReadClause(const std::vector<int>& fieldsToCompare) const;
    void bindHeldAsRead(sqlite3_stmt* stmt, int first, const Row& row,
                        const std::vector<int>& fieldsToCompare) const;

    Connection& connection_;
    std::string name_;
    std::string source_;
    bool isTable_ = true;
    std::string indexName_;
    std::vector<FieldDef> declared_;
    std::vector<FieldDef> fields_;
    std::vector<Column> columns_; // stored fields, in the order they are selected
    std::function<void(Dataset&)> calc_;
    bool eagerCalc_ = false;
    bool computing_ = false;

    Dataset* master_ = nullptr;
    std::string masterField_, indexField_;
    std::vector<Dataset*> details_;
    std::optional<Value> restrictedFor_;

    DatasetState state_ = DatasetState::Inactive;
    std::vector<std::unique_ptr<Row>> rows_; // everything read, in the order read
    std::vector<Row*> view_;                 // the records as restricted and ordered
    int cursor_ = -1;
    Row buffer_; // the pending change in edit or insert state
    std::vector<bool> written_;
    Row* presented_ = nullptr;
    bool presentingNothing_ = false;

    struct SortKey {
        int field;
        bool descending;
    };
    std::string sortText_;
    std::vector<SortKey> sortKeys_;

    std::vector<std::pair<int, Listener>> listeners_;
    int nextListener_ = 1;
    int holds_ = 0;
    unsigned heldEvents_ = 0; // a bit per DatasetEvent not yet told
};

} // namespace store
