#include "actions/Surges.h"

#include "store/Dataset.h"
#include "store/Value.h"

namespace actions {

namespace {

void countSurge(store::Dataset& roster)
{
    store::Field used = roster.fieldByName("HealingSurgesUsed");
    used.setAsInteger(store::wrappingAdd(used.asInteger(), 1));
}

} // namespace

std::int32_t surgeValueOf(std::int32_t totalHP, std::int32_t bonus)
{
    return store::wrappingAdd(totalHP / 4, bonus);
}

std::int32_t surgeValue(store::Dataset& roster, std::int32_t bonus)
{
    return surgeValueOf(roster.fieldByName("TotalHP").value().toInteger(), bonus);
}

std::int32_t secondWindValue(store::Dataset& roster)
{
    return surgeValue(roster, 0);
}

void spendHealingSurge(store::Dataset& roster)
{
    roster.edit();
    countSurge(roster);
    roster.post();
}

bool secondWindUsed(store::Dataset& roster)
{
    return roster.fieldByName("UsedSecondWind").asBoolean();
}

void spendSecondWind(store::Dataset& roster)
{
    roster.edit();
    roster.fieldByName("UsedSecondWind").setAsBoolean(true);
    countSurge(roster);
    roster.post();
}

} // namespace actions
