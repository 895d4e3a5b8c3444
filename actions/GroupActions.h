#pragma once

#include <functional>

namespace store {
class Dataset;
}

namespace actions {

// Runs a personal action on every player character of the roster, in the roster's current
// order, with the cursor on the record to act on; the action edits and posts that record
// itself. NPCs (PC false or without a value) are passed over. The walk visits as many records
// as the roster held when it began and ends with the cursor on the last record. An empty
// roster is left alone: no record is started. The walk is one step, written with one commit
// (store::runStep). An error ends the walk where it is raised; the player characters before it
// keep their change, those after it are not touched. When the commit fails nothing of the walk
// is written, the roster is read again, and the error says so.
void forEachPlayerCharacter(store::Dataset& roster, const std::function<void()>& personalAction);

} // namespace actions
