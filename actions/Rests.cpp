#include "actions/Rests.h"

#include "store/Dataset.h"

namespace actions {

namespace {

// The conditions a short rest ends, in the order they are written.
const char* const endedByRest[] = {
    "Blinded", "Dazed",      "Dominated", "Helpless", "Immobilized", "Marked",      "Petrified",
    "Prone",   "Restrained", "Slowed",    "Stunned",  "Surprised",   "Unconscious", "Weakened"};

} // namespace

void takeShortRest(store::Dataset& roster)
{
    roster.edit();
    roster.fieldByName("UsedEnc").setAsInteger(0);
    for (const char* condition : endedByRest)
        roster.fieldByName(condition).setAsBoolean(false);
    roster.fieldByName("UsedSecondWind").setAsBoolean(false);
    roster.post();
}

void takeExtendedRest(store::Dataset& roster)
{
    takeShortRest(roster);
    roster.edit();
    roster.fieldByName("UsedDailyItem").setAsInteger(0);
    roster.fieldByName("UsedDaily").setAsInteger(0);
    roster.fieldByName("APoints").setAsInteger(1);
    roster.fieldByName("Milestone").setAsInteger(0);
    roster.fieldByName("UsedMilestone").setAsInteger(0);
    roster.fieldByName("UsedAPoints").setAsInteger(0);
    roster.fieldByName("CurHP").setAsInteger(roster.fieldByName("TotalHP").asInteger());
    roster.fieldByName("TempHP").setAsInteger(0);
    roster.fieldByName("HealingSurgesUsed").setAsInteger(0);
    roster.post();
}

} // namespace actions
