#include "store/Decimal.h"

#include <cmath>
#include <limits>

namespace store {

std::optional<Decimal> Decimal::fromDouble(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    const double scaled = std::nearbyint(value * scale);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0) return std::nullopt;
    return fromScaled(static_cast<std::int64_t>(scaled));
}

std::optional<Decimal> Decimal::parse(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint64_t magnitude = 0;
    int fractionDigits = 0;
    bool digits = false, point = false;
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        digits = true;
        if (point) {
            if (fractionDigits == 4) continue; // finer than the field keeps: cut off
            ++fractionDigits;
        }
        if (magnitude > (limit - static_cast<std::uint64_t>(c - '0')) / 10) return std::nullopt;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (!digits) return std::nullopt;
    for (; fractionDigits < 4; ++fractionDigits) {
        if (magnitude > limit / 10) return std::nullopt;
        magnitude *= 10;
    }
    if (magnitude == limit && !negative) return std::nullopt;
    if (magnitude > limit) return std::nullopt;
    const std::int64_t scaledValue =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return fromScaled(scaledValue);
}

std::string Decimal::toString(char decimalSeparator) const
{
    const bool negative = scaled_ < 0;
    // Work on the magnitude as unsigned so that the most negative value has one too.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(scaled_) : static_cast<std::uint64_t>(scaled_);
    std::string text = std::to_string(magnitude / scale);
    std::uint64_t fraction = magnitude % scale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction + scale).substr(1); // four digits
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        text += decimalSeparator;
        text += digits;
    }
    return negative ? "-" + text : text;
}

} // namespace store
