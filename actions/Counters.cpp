#include "actions/Counters.h"

#include "store/Dataset.h"
#include "store/Value.h"

#include <initializer_list>

namespace actions {

namespace {

void countUp(store::Dataset& roster, std::initializer_list<const char*> fieldNames)
{
    roster.edit();
    for (const char* name : fieldNames) {
        store::Field field = roster.fieldByName(name);
        field.setAsInteger(store::wrappingAdd(field.asInteger(), 1));
    }
    roster.post();
}

} // namespace

void addMilestone(store::Dataset& roster)
{
    countUp(roster, {"Milestone", "APoints"});
}
void useMilestone(store::Dataset& roster)
{
    countUp(roster, {"UsedMilestone", "UsedAPoints"});
}
void addActionPoint(store::Dataset& roster)
{
    countUp(roster, {"APoints"});
}
void useActionPoint(store::Dataset& roster)
{
    countUp(roster, {"UsedAPoints"});
}
void useEncounterPower(store::Dataset& roster)
{
    countUp(roster, {"UsedEnc"});
}
void useDailyPower(store::Dataset& roster)
{
    countUp(roster, {"UsedDaily"});
}
void useDailyItemPower(store::Dataset& roster)
{
    countUp(roster, {"UsedDailyItem"});
}

} // namespace actions
