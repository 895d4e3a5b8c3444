#include "store/Field.h"

#include "store/Dataset.h"
#include "store/Error.h"

namespace store {

const FieldDef& Field::def() const
{
    return dataset_->fieldDef(index_);
}

Value Field::value() const
{
    return dataset_->valueAt(index_);
}

std::int32_t Field::asInteger() const
{
    const Value v = value();
    if (v.isNull()) return 0;
    // A number field reads as text only when what is stored does not fit it.
    if (v.type() == ValueType::String && type() != FieldType::String) conversionFailed(v);
    return v.toInteger();
}

void Field::conversionFailed(const Value& stored) const
{
    throw Error(prefixed(dataset_->name(),
                         formatMessage("Field '%s' holds %s, which is not a valid integer value",
                                       {name(), stored.text()})));
}

bool Field::asBoolean() const
{
    const Value v = value();
    return v.isNull() ? false : v.toBoolean();
}

double Field::asFloat() const
{
    const Value v = value();
    return v.isNull() ? 0.0 : v.toFloat();
}

void Field::setValue(const Value& value)
{
    dataset_->setValueAt(index_, value);
}

} // namespace store
