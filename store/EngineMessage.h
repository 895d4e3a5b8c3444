#pragma once

#include <string>
#include <string_view>

namespace store {

// The engine's own message for a failure, put in words the master can act on where the
// engine's words say nothing to him: a full disk, a folder that cannot be written, a lock
// held by another program, a name too long for its column, work stopped by the time limit.
// `code` is the extended result code, `systemError` the operating system's error number of
// the failure (0 when none), `path` the party file.
std::string engineMessage(int code, int systemError, std::string_view engineText,
                          std::string_view path);

} // namespace store
