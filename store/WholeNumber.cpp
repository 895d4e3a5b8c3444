#include "store/WholeNumber.h"

#include "store/Error.h"

namespace store {

namespace {

int digitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::optional<std::int32_t> parseWholeNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        i += 2;
    }
    else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        base = 16;
        i += 1;
    }
    if (i == text.size()) return std::nullopt;
    // The magnitude may reach 2^31 for the most negative value; stop as soon as it passes.
    constexpr std::int64_t limit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0) return std::nullopt;
        magnitude = magnitude * base + d;
        if (magnitude > limit) return std::nullopt;
    }
    if (!negative && magnitude == limit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool isWholeNumber(std::string_view text)
{
    return parseWholeNumber(text).has_value();
}

std::int32_t toWholeNumber(std::string_view text)
{
    if (const auto value = parseWholeNumber(text)) return *value;
    throw Error(formatMessage("'%s' is not a valid integer value", {text}));
}

} // namespace store
