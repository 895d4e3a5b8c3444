#pragma once

#include "store/Connection.h"
#include "store/PartyStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A fresh party file in a folder of its own, made by the same code as the party-file tool,
// and a second, independent connection to it for setting up rows and reading them back.
class PartyFile {
public:
    explicit PartyFile(bool withSample = false);
    ~PartyFile();
    PartyFile(const PartyFile&) = delete;
    PartyFile& operator=(const PartyFile&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    const std::string& path() const { return path_; }
    std::string connectionString() const;

    // Runs SQL on the file through a connection of its own, as another program would.
    void sql(const std::string& statements) const;
    // The rows of a query, each column as text ("NULL" for no value).
    std::vector<std::vector<std::string>> rows(const std::string& query) const;
    // The first column of the first row, as text ("NULL" for no value, "" for no row).
    std::string scalar(const std::string& query) const;

    std::string bytes() const; // the file's content, to show it was left unchanged
    // Every row of the roster and the items, each value quoted with its type, in the order of
    // their numbers: two equal results are two equal parties.
    std::string contents() const;

    // Connects the store to this file and opens the four datasets.
    void open(store::PartyStore& store) const;

private:
    std::filesystem::path folder_;
    std::string path_;
};

// A new empty folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace testing_support
