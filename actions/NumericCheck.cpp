#include "actions/NumericCheck.h"

#include "store/WholeNumber.h"

namespace actions {

bool passesNumericCheck(std::string_view text)
{
    return text.empty() || store::isWholeNumber(text);
}

std::string notNumericMessage(std::string_view text)
{
    return std::string(text) + " is not numeric value";
}

} // namespace actions
