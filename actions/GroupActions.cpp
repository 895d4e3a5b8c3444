#include "actions/GroupActions.h"

#include "store/Connection.h"
#include "store/Dataset.h"
#include "store/Transaction.h"

namespace actions {

void forEachPlayerCharacter(store::Dataset& roster, const std::function<void()>& personalAction)
{
    roster.first();
    const int count = roster.recordCount();
    if (count == 0) return;
    // One step of the master: one commit for the whole walk, each post a savepoint of it. A
    // program killed part-way leaves the walk wholly undone; a commit that fails leaves nothing
    // of it in the file, and the roster is read again to show so.
    // The window shows the step when it ends, not each record on the way.
    store::Dataset::ControlsHeld shownAtTheEnd(roster);
    store::runStep(
        roster.connection(),
        [&] {
            for (int i = 0; i < count; ++i) {
                if (roster.fieldByName("PC").asBoolean()) personalAction();
                roster.next();
            }
        },
        [&] { roster.reopen(); });
}

} // namespace actions
