#pragma once

#include "tools/PartyFolder.h"

#include <filesystem>

namespace launcher {

// Asks the master, in a small modal dialog, how to start in a folder that holds no party
// file yet: "Start with an empty party", "Start with a sample party" or Cancel (also Esc and
// the close box). Needs the application object.
FirstStart askFirstStart(const std::filesystem::path& folder);

} // namespace launcher
