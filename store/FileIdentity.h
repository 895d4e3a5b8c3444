#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace store {

// Which file a path names at a moment: its device and its number on that device. A backup
// moved over the party file, or the file deleted and another copied in its place, gives the
// path another identity while the program still holds the old file open.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    // The identity of the file the path names now; nothing when there is none.
    static std::optional<FileIdentity> of(const std::string& path);

    bool operator==(const FileIdentity&) const = default;
};

// The party file's change counter, which the engine raises with every commit made under a
// rollback journal and never lowers: a file whose counter went down is an older copy put in
// its place (a backup restored with cp onto the file itself). Nothing when it cannot be read.
std::optional<std::uint32_t> changeCounterOf(const std::string& path);

} // namespace store
