#pragma once

#include <cstdint>

namespace store {
class Dataset;
}

namespace actions {

// A healing surge heals a quarter of the maximum hit points (the quotient truncated toward
// zero) plus the surge bonus the master picked, 0 to 10.
std::int32_t surgeValueOf(std::int32_t totalHP, std::int32_t bonus);

// The surge value of the roster's current character. TotalHP is read as a value, not as an
// integer: a character without maximum hit points, or no character at all, has no surge
// value, and this raises "Could not convert variant of type (Null) into type (Integer)"
// before anything is written.
std::int32_t surgeValue(store::Dataset& roster, std::int32_t bonus);

// The second wind heals by the surge value without the bonus.
std::int32_t secondWindValue(store::Dataset& roster);

// Counts one spent healing surge in an Edit/Post cycle of its own: the "Spend healing
// surges" button, and the second cycle of "Use HS" after the heal was applied.
void spendHealingSurge(store::Dataset& roster);

// Whether the current character has used its second wind since its last rest; a
// UsedSecondWind without a value counts as not used.
bool secondWindUsed(store::Dataset& roster);

// The second cycle of "Use Second Wind", after the heal was applied: marks the second wind
// used and counts the healing surge it costs, in one Edit/Post cycle.
void spendSecondWind(store::Dataset& roster);

} // namespace actions
