#pragma once

#include "store/FieldDef.h"
#include "store/Value.h"

struct sqlite3_stmt;

namespace store {

// Binds a value as the engine stores it: booleans as 0 and 1, whole decimals as integers.
void bindValue(sqlite3_stmt* stmt, int index, const Value& value);

// Reads a result column into a value of the field's type, as the field holds it.
Value readColumn(sqlite3_stmt* stmt, int column, FieldType type);

} // namespace store
