#pragma once

#include <string>
#include <string_view>

namespace store {

enum class FieldType { Integer, Boolean, Float, Decimal, String };

// The type names of the "Type mismatch" message: "Integer", "Boolean", "Float", "BCD",
// "WideString".
const char* fieldTypeName(FieldType type);

// The field type a column's declared type holds, by the engine's own affinity rules with
// booleans and decimals told apart by name; false for a column that declares no type
// (a view's computed column), which fits any field.
bool fieldTypeOfColumn(std::string_view declaredType, FieldType& type);

// Whether a column of the given type can feed a field of the declared type without loss.
bool columnFitsField(FieldType column, FieldType field);

// One field of a dataset: stored (a column of the table or query) or derived (computed by
// the dataset's owner whenever a record is read or changed, never written).
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Integer;
    int size = 0; // at most this many characters, for texts; 0: no limit
    bool derived = false;
    std::string origin;    // the two-letter abbreviation of a condition field, else empty
    bool readOnly = false; // the record's identity, numbered by the database
};

} // namespace store
