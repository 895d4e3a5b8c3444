#include "store/Value.h"

#include "store/Error.h"
#include "store/NumberFormat.h"
#include "store/WholeNumber.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace store {

namespace {

[[noreturn]] void conversionFailed(ValueType from, ValueType to)
{
    throw Error(formatMessage("Could not convert variant of type (%s) into type (%s)",
                              {valueTypeName(from), valueTypeName(to)}));
}

bool equalsIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

std::int32_t roundToInteger(double v, ValueType from)
{
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) conversionFailed(from, ValueType::Integer);
    return static_cast<std::int32_t>(r);
}

std::optional<double> parseFloat(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return v;
}

} // namespace

const char* valueTypeName(ValueType type)
{
    switch (type) {
    case ValueType::Null:
        return "Null";
    case ValueType::Integer:
        return "Integer";
    case ValueType::Boolean:
        return "Boolean";
    case ValueType::Float:
        return "Double";
    case ValueType::Decimal:
        return "Decimal";
    case ValueType::String:
        return "String";
    }
    return "Unknown";
}

std::int32_t Value::toInteger() const
{
    switch (type()) {
    case ValueType::Null:
        conversionFailed(ValueType::Null, ValueType::Integer);
    case ValueType::Integer:
        return integer();
    case ValueType::Boolean:
        return boolean() ? -1 : 0;
    case ValueType::Float:
        return roundToInteger(floating(), ValueType::Float);
    case ValueType::Decimal:
        return roundToInteger(decimal().toDouble(), ValueType::Decimal);
    case ValueType::String:
        return toWholeNumber(text());
    }
    conversionFailed(type(), ValueType::Integer);
}

bool Value::toBoolean() const
{
    switch (type()) {
    case ValueType::Null:
        conversionFailed(ValueType::Null, ValueType::Boolean);
    case ValueType::Integer:
        return integer() != 0;
    case ValueType::Boolean:
        return boolean();
    case ValueType::Float:
        return floating() != 0;
    case ValueType::Decimal:
        return decimal().scaled() != 0;
    case ValueType::String:
        if (equalsIgnoringCase(text(), "true")) return true;
        if (equalsIgnoringCase(text(), "false")) return false;
        if (const auto n = parseWholeNumber(text())) return *n != 0;
        conversionFailed(ValueType::String, ValueType::Boolean);
    }
    conversionFailed(type(), ValueType::Boolean);
}

double Value::toFloat() const
{
    switch (type()) {
    case ValueType::Null:
        conversionFailed(ValueType::Null, ValueType::Float);
    case ValueType::Integer:
        return integer();
    case ValueType::Boolean:
        return boolean() ? -1.0 : 0.0;
    case ValueType::Float:
        return floating();
    case ValueType::Decimal:
        return decimal().toDouble();
    case ValueType::String:
        if (const auto v = parseFloat(text())) return *v;
        conversionFailed(ValueType::String, ValueType::Float);
    }
    conversionFailed(type(), ValueType::Float);
}

Decimal Value::toDecimal() const
{
    switch (type()) {
    case ValueType::Null:
        conversionFailed(ValueType::Null, ValueType::Decimal);
    case ValueType::Integer:
        return Decimal::fromInteger(integer());
    case ValueType::Boolean:
        return Decimal::fromInteger(boolean() ? -1 : 0);
    case ValueType::Float:
        if (const auto d = Decimal::fromDouble(floating())) return *d;
        conversionFailed(ValueType::Float, ValueType::Decimal);
    case ValueType::Decimal:
        return decimal();
    case ValueType::String:
        if (const auto d = Decimal::parse(text())) return *d;
        conversionFailed(ValueType::String, ValueType::Decimal);
    }
    conversionFailed(type(), ValueType::Decimal);
}

std::string Value::toString() const
{
    if (isNull()) conversionFailed(ValueType::Null, ValueType::String);
    return displayText();
}

std::string Value::displayText() const
{
    switch (type()) {
    case ValueType::Null:
        return {};
    case ValueType::Integer:
        return std::to_string(integer());
    case ValueType::Boolean:
        return boolean() ? "True" : "False";
    case ValueType::Float:
        return formatGeneral(floating());
    case ValueType::Decimal:
        return decimal().toString(decimalSeparator());
    case ValueType::String:
        return text();
    }
    return {};
}

Value addInteger(const Value& value, std::int32_t amount)
{
    switch (value.type()) {
    case ValueType::Null:
        return {};
    case ValueType::Integer:
        return wrappingAdd(value.integer(), amount);
    case ValueType::Float:
        return value.floating() + amount;
    case ValueType::Decimal:
        return Decimal::fromScaled(static_cast<std::int64_t>(
            static_cast<std::uint64_t>(value.decimal().scaled()) +
            static_cast<std::uint64_t>(std::int64_t{amount} * Decimal::scale)));
    default:
        return wrappingAdd(value.toInteger(), amount);
    }
}

int compareValues(const Value& a, const Value& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.type() == ValueType::String || b.type() == ValueType::String) {
        const std::string x = a.displayText(), y = b.displayText();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.type() == ValueType::Decimal && b.type() == ValueType::Decimal) {
        const auto c = a.decimal() <=> b.decimal();
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const double x = a.type() == ValueType::Boolean ? a.boolean() : a.toFloat();
    const double y = b.type() == ValueType::Boolean ? b.boolean() : b.toFloat();
    return x < y ? -1 : (x > y ? 1 : 0);
}

} // namespace store
