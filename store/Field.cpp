#include "store/Field.h"

#include "store/Dataset.h"

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
    return v.isNull() ? 0 : v.toInteger();
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
