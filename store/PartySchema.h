#pragma once

#include <string>
#include <string_view>

namespace store {

namespace text {
extern const std::string_view partySchema; // the tables and queries of a party file
extern const std::string_view partySample; // a small party to try the program with
} // namespace text

// Creates a new party file at `path` in write-ahead-log journal mode with the party schema,
// and with the sample party when asked. Refuses a path that already exists; a file left
// half-made by a failure is removed again.
void createPartyFile(const std::string& path, bool withSample = false);

} // namespace store
