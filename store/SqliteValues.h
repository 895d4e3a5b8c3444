#pragma once

#include "store/FieldDef.h"
#include "store/Value.h"

#include <cstdint>
#include <optional>
#include <string>

struct sqlite3_stmt;

namespace store {

// Binds a value as the engine stores it: booleans as 0 and 1, whole decimals as integers.
void bindValue(sqlite3_stmt* stmt, int index, const Value& value);

// Reads a result column into a value of the field's type, as the field holds it. A stored
// value that does not fit the field (4294967303, 3.7 or a text in a 32-bit integer column) is
// never made into another number: it is given as the text of what is stored.
Value readColumn(sqlite3_stmt* stmt, int column, FieldType type);

// A column's content exactly as the engine stores it.
struct StoredValue {
    int kind = 0; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes;
};

// What is stored in the column, when binding `value` (as read from it) would not give the
// same back; nothing when it would. A record keeps these, so that the check whether a row
// still holds what was read compares what is stored.
std::optional<StoredValue> storedUnlessSame(sqlite3_stmt* stmt, int column, const Value& value);
void bindStored(sqlite3_stmt* stmt, int index, const StoredValue& stored);

} // namespace store
