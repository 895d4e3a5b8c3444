#pragma once

#include "store/FieldDef.h"
#include "store/Value.h"

#include <cstdint>
#include <string>

namespace store {

class Dataset;

// A handle on one field of a dataset. It reads and writes the record the dataset presents:
// the current record, its pending change while editing, or the row a grid is painting.
class Field {
public:
    Field(Dataset& dataset, int index) : dataset_(&dataset), index_(index) {}

    int index() const { return index_; }
    const FieldDef& def() const;
    const std::string& name() const { return def().name; }
    FieldType type() const { return def().type; }

    // Reading: a field without a value gives 0, false, 0.0 or the empty text; value() gives null.
    Value value() const;
    bool isNull() const { return value().isNull(); }
    // A value stored that does not fit the field fails with the conversion error naming the
    // field and the value.
    std::int32_t asInteger() const;
    bool asBoolean() const;
    double asFloat() const;
    std::string asString() const { return displayText(); }
    std::string displayText() const { return value().displayText(); }

    // Writing, only in edit or insert state; the value is converted to the field's type.
    void setValue(const Value& value);
    void setAsInteger(std::int32_t v) { setValue(Value(v)); }
    void setAsBoolean(bool v) { setValue(Value(v)); }
    void setAsFloat(double v) { setValue(Value(v)); }
    void setAsString(const std::string& v) { setValue(Value(v)); }
    void clear() { setValue(Value()); }

private:
    [[noreturn]] void conversionFailed(const Value& stored) const;
    Dataset* dataset_;
    int index_;
};

} // namespace store
