#include "actions/GroupActions.h"

#include "store/Dataset.h"

namespace actions {

void forEachPlayerCharacter(store::Dataset& roster, const std::function<void()>& personalAction)
{
    roster.first();
    const int count = roster.recordCount();
    for (int i = 0; i < count; ++i) {
        if (roster.fieldByName("PC").asBoolean()) personalAction();
        roster.next();
    }
}

} // namespace actions
