#pragma once

// The one process-wide pseudo-random generator of the program: the dice rolls and the
// decorative die draw from it. Seeded from the clock by every Dice window and every die as
// they are created; tests seed it with a fixed number to know the rolls in advance.
// Used on the GUI thread only.

#include <cstdint>

namespace ui::random {

// Seeds the generator from the clock.
void randomize();

// Seeds the generator with a fixed number: the same seed gives the same draws.
void seed(std::uint32_t value);

// A uniformly distributed integer from 0 to n - 1; 0 when n is 1 or less.
int below(int n);

} // namespace ui::random
