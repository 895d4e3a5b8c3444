#include "ui/Random.h"

#include <chrono>
#include <random>

namespace ui::random {

namespace {

std::mt19937& engine()
{
    static std::mt19937 generator(5489u);
    return generator;
}

} // namespace

void randomize()
{
    // Both clocks, and a counter, so that two seedings within one clock tick still differ.
    static std::uint64_t seedings = 0;
    const auto steady =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto wall =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const std::uint64_t mixed = steady ^ (wall * 0x9E3779B97F4A7C15ull) ^ (++seedings << 32);
    std::seed_seq sequence{static_cast<std::uint32_t>(mixed),
                           static_cast<std::uint32_t>(mixed >> 32)};
    engine().seed(sequence);
}

void seed(std::uint32_t value)
{
    engine().seed(value);
}

int below(int n)
{
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine());
}

} // namespace ui::random
