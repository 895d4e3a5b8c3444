#include "store/FieldDef.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace store {

const char* fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
        return "Integer";
    case FieldType::Boolean:
        return "Boolean";
    case FieldType::Float:
        return "Float";
    case FieldType::Decimal:
        return "BCD";
    case FieldType::String:
        return "WideString";
    }
    return "Unknown";
}

bool fieldTypeOfColumn(std::string_view declaredType, FieldType& type)
{
    std::string t(declaredType);
    std::transform(t.begin(), t.end(), t.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto has = [&t](const char* word) { return t.find(word) != std::string::npos; };
    if (t.empty()) return false;
    if (has("BOOL") || t == "BIT" || t == "YESNO")
        type = FieldType::Boolean;
    else if (has("INT"))
        type = FieldType::Integer;
    else if (has("CHAR") || has("CLOB") || has("TEXT"))
        type = FieldType::String;
    else if (has("REAL") || has("FLOA") || has("DOUB"))
        type = FieldType::Float;
    else if (has("DEC") || has("NUMERIC") || has("CURRENCY") || has("MONEY"))
        type = FieldType::Decimal;
    else
        return false;
    return true;
}

bool columnFitsField(FieldType column, FieldType field)
{
    if (column == field) return true;
    switch (field) {
    case FieldType::Float:
        return column == FieldType::Integer || column == FieldType::Decimal;
    case FieldType::Decimal:
        return column == FieldType::Integer;
    default:
        return false;
    }
}

} // namespace store
