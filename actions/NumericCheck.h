#pragma once

#include <string>
#include <string_view>

namespace actions {

// The check every number edit of the program passes before its text is used: the empty text
// passes (it means "nothing entered"), any other text must be a whole number.
bool passesNumericCheck(std::string_view text);

// The warning for a text that fails the check.
std::string notNumericMessage(std::string_view text);

} // namespace actions
