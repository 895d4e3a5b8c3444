#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// A fixed-point number of 19 digits, 4 of them after the point, kept as a scaled integer so
// that an initiative of 2.5 stays exactly 2.5 through every read and write.
class Decimal {
public:
    static constexpr std::int64_t scale = 10000;

    constexpr Decimal() = default;
    static constexpr Decimal fromScaled(std::int64_t scaled)
    {
        Decimal d;
        d.scaled_ = scaled;
        return d;
    }
    static constexpr Decimal fromInteger(std::int64_t whole) { return fromScaled(whole * scale); }
    // Nearest decimal; nullopt when the number does not fit 19 digits or is not finite.
    static std::optional<Decimal> fromDouble(double value);
    // Plain decimal notation with an optional sign and point ("-12.5"); nullopt otherwise.
    static std::optional<Decimal> parse(std::string_view text);

    constexpr std::int64_t scaled() const { return scaled_; }
    constexpr bool isWhole() const { return scaled_ % scale == 0; }
    constexpr std::int64_t wholePart() const { return scaled_ / scale; }
    double toDouble() const { return static_cast<double>(scaled_) / scale; }
    // General format: no trailing zeros, no point when whole; the separator is the given one.
    std::string toString(char decimalSeparator = '.') const;

    friend constexpr bool operator==(Decimal, Decimal) = default;
    friend constexpr auto operator<=>(Decimal a, Decimal b) { return a.scaled_ <=> b.scaled_; }

private:
    std::int64_t scaled_ = 0;
};

} // namespace store
