#pragma once

namespace store {
class Dataset;
}

namespace actions {

// The short rest of the current character, in one Edit/Post cycle: no encounter powers used,
// every condition but Dying gone, the second wind available again. Dying stays: only healing
// brings a character back. Hit points, surges, daily powers, action points and milestones are
// not touched.
void takeShortRest(store::Dataset& roster);

// The extended rest: the short rest with its own Edit/Post cycle, then a second cycle that
// gives full hit points, no temporary hit points, one action point, no milestones, no used
// daily powers and no spent surges. Dying still stays. When the second cycle fails, the short
// rest is already stored.
void takeExtendedRest(store::Dataset& roster);

} // namespace actions
