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

namespace {

// What is stored, as a text: numbers in the engine's own digits, a BLOB as its hexadecimal
// literal.
std::string storedText(sqlite3_stmt* stmt, int col)
{
    if (sqlite3_column_type(stmt, col) == SQLITE_BLOB) {
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, col));
        const int size = sqlite3_column_bytes(stmt, col);
        static const char digits[] = "0123456789ABCDEF";
        std::string text = "X'";
        for (int i = 0; i < size; ++i) {
            text += digits[bytes[i] >> 4];
            text += digits[bytes[i] & 15];
        }
        return text + "'";
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
    return std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
}

StoredValue storedOf(sqlite3_stmt* stmt, int col)
{
    StoredValue s;
    s.kind = sqlite3_column_type(stmt, col);
    if (s.kind == SQLITE_INTEGER) s.integer = sqlite3_column_int64(stmt, col);
    if (s.kind == SQLITE_FLOAT) s.real = sqlite3_column_double(stmt, col);
    if (s.kind == SQLITE_TEXT || s.kind == SQLITE_BLOB) {
        const auto* bytes = static_cast<const char*>(
            s.kind == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(stmt, col))
                                  : sqlite3_column_blob(stmt, col));
        s.bytes.assign(bytes ? bytes : "",
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
    }
    return s;
}

// The value as bindValue gives it to the engine.
StoredValue boundOf(const Value& value)
{
    StoredValue s;
    switch (value.type()) {
    case ValueType::Null:
        s.kind = SQLITE_NULL;
        break;
    case ValueType::Integer:
        s.kind = SQLITE_INTEGER;
        s.integer = value.integer();
        break;
    case ValueType::Boolean:
        s.kind = SQLITE_INTEGER;
        s.integer = value.boolean() ? 1 : 0;
        break;
    case ValueType::Float:
        s.kind = SQLITE_FLOAT;
        s.real = value.floating();
        break;
    case ValueType::Decimal:
        if (value.decimal().isWhole()) {
            s.kind = SQLITE_INTEGER;
            s.integer = value.decimal().wholePart();
        }
        else {
            s.kind = SQLITE_FLOAT;
            s.real = value.decimal().toDouble();
        }
        break;
    case ValueType::String:
        s.kind = SQLITE_TEXT;
        s.bytes = value.text();
        break;
    }
    return s;
}

} // namespace

std::optional<StoredValue> storedUnlessSame(sqlite3_stmt* stmt, int col, const Value& value)
{
    StoredValue stored = storedOf(stmt, col);
    const StoredValue bound = boundOf(value);
    const bool same = stored.kind == bound.kind && stored.integer == bound.integer &&
                      stored.real == bound.real && stored.bytes == bound.bytes;
    if (same) return std::nullopt;
    return stored;
}

void bindStored(sqlite3_stmt* stmt, int index, const StoredValue& stored)
{
    switch (stored.kind) {
    case SQLITE_INTEGER:
        sqlite3_bind_int64(stmt, index, stored.integer);
        break;
    case SQLITE_FLOAT:
        sqlite3_bind_double(stmt, index, stored.real);
        break;
    case SQLITE_TEXT:
        sqlite3_bind_text(stmt, index, stored.bytes.data(), static_cast<int>(stored.bytes.size()),
                          SQLITE_TRANSIENT);
        break;
    case SQLITE_BLOB:
        sqlite3_bind_blob(stmt, index, stored.bytes.data(), static_cast<int>(stored.bytes.size()),
                          SQLITE_TRANSIENT);
        break;
    default:
        sqlite3_bind_null(stmt, index);
    }
}

Value readColumn(sqlite3_stmt* stmt, int col, FieldType type)
{
    const int kind = sqlite3_column_type(stmt, col);
    if (kind == SQLITE_NULL) return {};
    switch (type) {
    case FieldType::Integer:
        if (kind == SQLITE_INTEGER) {
            const std::int64_t v = sqlite3_column_int64(stmt, col);
            if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<std::int32_t>(v);
        }
        return storedText(stmt, col);
    case FieldType::Boolean:
        if (kind == SQLITE_INTEGER) return sqlite3_column_int64(stmt, col) != 0;
        if (kind == SQLITE_FLOAT) return sqlite3_column_double(stmt, col) != 0;
        return storedText(stmt, col);
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
