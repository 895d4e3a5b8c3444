#include "ui/Random.h"

#include <chrono>
#include <random>

namespace ui {

namespace {
std::mt19937& engine()
{
    static std::mt19937 e(12345u);
    return e;
}
} // namespace

void Random::seedFromClock()
{
    engine().seed(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

void Random::seed(unsigned value)
{
    engine().seed(value);
}

int Random::below(int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(engine());
}

} // namespace ui
