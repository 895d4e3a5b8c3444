#pragma once

#include <string>
#include <string_view>

namespace store {

// Names of fields, parameters and providers compare without regard to case, as the engine's do.
bool sameName(std::string_view a, std::string_view b);

// An identifier quoted for SQL, so that names such as "Sum-cp" need no special care.
std::string quotedIdentifier(std::string_view identifier);

} // namespace store
