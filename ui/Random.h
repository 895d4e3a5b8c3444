#pragma once

namespace ui {

// The one pseudo-random generator of the process, shared by the dice rolls and the decorative
// dice. Seeded from the clock in use; tests seed it with a fixed number.
class Random {
public:
    static void seedFromClock();
    static void seed(unsigned value);
    // A uniformly distributed whole number from 0 to n - 1.
    static int below(int n);
};

} // namespace ui
