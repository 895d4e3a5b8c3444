#include "store/SqliteValues.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace store {

void bindValue(sqlite3_stmt* stmt, int index, const Value& value)
{
    switch (value.type()) {
    case ValueType::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case ValueType::Integer:
        sqlite3_bind_int(stmt, index, value.integer());
        break;
    case ValueType::Boolean:
        sqlite3_bind_int(stmt, index, value.boolean() ? 1 : 0);
        break;
    case ValueType::Float:
        sqlite3_bind_double(stmt, index, value.floating());
        break;
    case ValueType::Decimal:
        if (value.decimal().isWhole())
            sqlite3_bind_int64(stmt, index, value.decimal().wholePart());
        else
            sqlite3_bind_double(stmt, index, value.decimal().toDouble());
        break;
    case ValueType::String:
        sqlite3_bind_text(stmt, index, value.text().data(), static_cast<int>(value.text().size()),
                          SQLITE_TRANSIENT);
        break;
    }
}

Value readColumn(sqlite3_stmt* stmt, int col, FieldType type)
{
    const int kind = sqlite3_column_type(stmt, col);
    if (kind == SQLITE_NULL) return {};
    switch (type) {
    case FieldType::Integer: {
        const std::int64_t v =
            kind == SQLITE_FLOAT
                ? static_cast<std::int64_t>(std::llround(sqlite3_column_double(stmt, col)))
                : sqlite3_column_int64(stmt, col);
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(v)); // a 32-bit field keeps 32 bits
    }
    case FieldType::Boolean:
        return kind == SQLITE_INTEGER ? sqlite3_column_int64(stmt, col) != 0
                                      : sqlite3_column_double(stmt, col) != 0;
    case FieldType::Float:
        return sqlite3_column_double(stmt, col);
    case FieldType::Decimal: {
        std::optional<Decimal> d;
        if (kind == SQLITE_INTEGER) {
            const std::int64_t v = sqlite3_column_int64(stmt, col);
            if (v <= INT64_MAX / Decimal::scale && v >= INT64_MIN / Decimal::scale)
                d = Decimal::fromInteger(v);
        }
        else if (kind == SQLITE_TEXT) {
            d = Decimal::parse(reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)));
        }
        if (!d) d = Decimal::fromDouble(sqlite3_column_double(stmt, col));
        return d ? Value(*d) : Value();
    }
    case FieldType::String: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
        return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
    }
    }
    return {};
}

} // namespace store
