#pragma once

#include <map>
#include <string>
#include <string_view>

namespace store {

// The provider name the connection accepts as the name of its engine.
inline constexpr std::string_view jetProvider = "Microsoft.Jet.OLEDB.4.0";

// The party file's name, beside the executable.
inline constexpr std::string_view partyFileName = "Mirel.mdb";

// The directory part of a file name: everything before the last path separator, which is
// dropped, except after a drive letter ("C:\"). "/Tavrix" gives the empty text.
std::string directoryOf(std::string_view fileName);

// The connection string for the party file beside the given executable:
// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<dir>/Mirel.mdb;Persist Security Info=False".
// A directory holding ";" or a quotation mark is quoted by the connection-string rules, so the
// string always names exactly that directory's party file. A name without any folder (the
// empty text included) is refused.
std::string connectionStringFor(std::string_view executableFileName);

// One value of a connection string, quoted where the rules require it.
std::string quoteConnectionValue(std::string_view value);

// The keywords of a connection string (lower-cased) and their values, unquoted.
// Raises an error for a string that breaks the rules (an unterminated quote, a pair without "=").
std::map<std::string, std::string> parseConnectionString(std::string_view text);

} // namespace store
