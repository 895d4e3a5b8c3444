#pragma once

#include "store/PartyStore.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A folder for party files that other processes work on, in memory when the machine has a
// memory file system (so that a thousand committed records take a moment), removed with the
// object whatever permissions a test left on it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A fresh party file at `path`, made by the program's own code, then `setup` run on it.
void makeParty(const std::string& path, const std::string& setup);

// Runs SQL on the file through a connection of its own, as another program would.
void runSql(const std::string& path, const std::string& statements);
// The rows of a query, each column as text ("NULL" for no value).
std::vector<std::vector<std::string>> queryRows(const std::string& path, const std::string& query);
std::string queryScalar(const std::string& path, const std::string& query);

// Every roster record by its ID, each with all its columns as text.
using RosterRows = std::map<int, std::vector<std::string>>;
RosterRows rosterRows(const std::string& path);

// Connects the store to the file as the program does and opens the four datasets.
void openStore(store::PartyStore& party, const std::string& path);

} // namespace testing_support
