#pragma once

#include "store/Decimal.h"

#include <cstdint>
#include <string>
#include <variant>

namespace store {

enum class ValueType { Null, Integer, Boolean, Float, Decimal, String };

// The name a conversion error gives the type: "Null", "Integer", "Boolean", "Double",
// "Decimal", "String".
const char* valueTypeName(ValueType type);

// One field's content: nothing (null), a 32-bit integer, a boolean, a 64-bit float, a
// fixed-point decimal or a text (UTF-8).
class Value {
public:
    Value() = default;
    Value(std::int32_t v) : data_(v) {}
    Value(bool v) : data_(v) {}
    Value(double v) : data_(v) {}
    Value(Decimal v) : data_(v) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(const char* v) : data_(std::string(v)) {}

    ValueType type() const { return static_cast<ValueType>(data_.index()); }
    bool isNull() const { return type() == ValueType::Null; }

    // Conversions that fail with "Could not convert variant of type (%s) into type (%s)",
    // or, for a text that is not a whole number, "'%s' is not a valid integer value".
    std::int32_t toInteger() const;
    bool toBoolean() const;
    double toFloat() const;
    Decimal toDecimal() const;
    std::string toString() const;

    // The text the grids and labels show: the empty text for null, "True"/"False",
    // numbers in the general format.
    std::string displayText() const;

    // The value held, for code that has checked type() first.
    std::int32_t integer() const { return std::get<std::int32_t>(data_); }
    bool boolean() const { return std::get<bool>(data_); }
    double floating() const { return std::get<double>(data_); }
    Decimal decimal() const { return std::get<Decimal>(data_); }
    const std::string& text() const { return std::get<std::string>(data_); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, std::int32_t, bool, double, Decimal, std::string> data_;
};

// Integer arithmetic of the program wraps in two's complement, like the machine it first ran on.
constexpr std::int32_t wrappingAdd(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrappingSub(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// A stored value plus a whole number: null stays null, as arithmetic with nothing gives nothing.
Value addInteger(const Value& value, std::int32_t amount);

// Orders values for sorting: null first, numbers by magnitude, texts by their bytes.
int compareValues(const Value& a, const Value& b);

} // namespace store
