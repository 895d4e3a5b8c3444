#pragma once

#include "store/Dataset.h"
#include "store/Error.h"
#include "store/PartyStore.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/PartyFixture.h"

#include <functional>
#include <string>
#include <vector>

namespace actions_testing {

// A party file with the rows a test sets up, the store opened on it, and a log of every
// write to the roster table kept by the file itself, so that a test can count posts and see
// which record each one wrote, in order.
class Party {
public:
    explicit Party(const std::string& setupSql = "")
    {
        if (!setupSql.empty()) file.sql(setupSql);
        // Logged from here on: what the store writes, not the rows set up.
        file.sql("CREATE TABLE PostLog (Seq INTEGER PRIMARY KEY, RecordID INTEGER, Kind TEXT);"
                 "CREATE TRIGGER LogUpdate AFTER UPDATE ON Table1 BEGIN"
                 " INSERT INTO PostLog (RecordID, Kind) VALUES (NEW.ID, 'update'); END;"
                 "CREATE TRIGGER LogInsert AFTER INSERT ON Table1 BEGIN"
                 " INSERT INTO PostLog (RecordID, Kind) VALUES (NEW.ID, 'insert'); END;");
        file.open(store);
    }

    store::Dataset& roster() { return store.ADOTable1; }

    // The named columns of the record of that name, read from the file, "NULL" for no value.
    std::vector<std::string> row(const std::string& name, const std::string& columns) const
    {
        const auto r = file.rows("SELECT " + columns + " FROM Table1 WHERE Name = '" + name + "'");
        return r.empty() ? std::vector<std::string>{} : r.front();
    }
    int recordCount() const { return std::stoi(file.scalar("SELECT count(*) FROM Table1")); }
    int posts() const { return std::stoi(file.scalar("SELECT count(*) FROM PostLog")); }
    // The names of the records written, in the order they were written.
    std::vector<std::string> writtenNames() const
    {
        std::vector<std::string> names;
        for (const auto& r : file.rows("SELECT ifnull(t.Name, 'NULL') FROM PostLog p "
                                       "LEFT JOIN Table1 t ON t.ID = p.RecordID ORDER BY p.Seq"))
            names.push_back(r[0]);
        return names;
    }

    testing_support::PartyFile file;
    store::PartyStore store;
};

using testing_support::errorOf;

using Row = std::vector<std::string>;

} // namespace actions_testing
