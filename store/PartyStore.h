#pragma once

#include "store/Connection.h"
#include "store/Dataset.h"
#include "store/History.h"

#include <vector>

namespace store {

// The connection and the four datasets every window works on, set up as the party file
// needs them: the roster, the party's coin totals, and the current character's items and
// weight, which follow the roster's current Name. Constructing it opens nothing.
class PartyStore {
public:
    PartyStore();
    PartyStore(const PartyStore&) = delete;
    PartyStore& operator=(const PartyStore&) = delete;

    Connection ADOConnection1;
    Dataset ADOTable1; // the roster: table Table1
    Dataset ADOTable2; // the coin totals: query SumMoney
    Dataset ADOTable3; // the current character's items: table Inventory
    Dataset ADOTable4; // the current character's weight: query Weight
    History history;   // what the master's actions changed, to undo and to log

    // Opens the four datasets in the order roster, money sums, inventory, weight; the first
    // failure stops it, leaving the ones before open.
    void openAll();
};

// The roster's fields in their declared order, derived ones included.
std::vector<FieldDef> rosterFields();
// The fifteen condition fields, in the order of the Effects text.
const std::vector<const char*>& conditionFields();

} // namespace store
