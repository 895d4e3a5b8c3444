#pragma once

namespace store {
class Dataset;
}

namespace actions {

// The counters of the "Personal Action" box. Each raises its fields of the current character
// by 1 in one Edit/Post cycle; a field without a value counts from 0. Nothing compares a used
// count with the count owned, and nothing stops a counter from growing.

// "Add MS": Milestone, then APoints: every milestone brings an action point.
void addMilestone(store::Dataset& roster);
// "Use MS": UsedMilestone, then UsedAPoints: a used milestone spends its action point.
void useMilestone(store::Dataset& roster);
// "Add AP": APoints.
void addActionPoint(store::Dataset& roster);
// "Use AP": UsedAPoints.
void useActionPoint(store::Dataset& roster);
// "Use Enc.": UsedEnc.
void useEncounterPower(store::Dataset& roster);
// "Use Daily": UsedDaily.
void useDailyPower(store::Dataset& roster);
// "Use Daily(Item)": UsedDailyItem.
void useDailyItemPower(store::Dataset& roster);

} // namespace actions
