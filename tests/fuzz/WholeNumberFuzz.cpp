// The whole-number rule against a second reading of the same rule built on std::from_chars:
// every text must be read alike by both, and toWholeNumber must raise exactly where the rule
// gives nothing, with the message that names the text.
#include "store/Error.h"
#include "store/WholeNumber.h"
#include "tests/fuzz/Finding.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

std::optional<std::int32_t> byFromChars(std::string_view text)
{
    const std::size_t firstNonBlank = text.find_first_not_of(' ');
    if (firstNonBlank == std::string_view::npos) return std::nullopt;
    text.remove_prefix(firstNonBlank);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        base = 16;
        text.remove_prefix(1);
    }
    // from_chars takes a sign of its own; the rule allows only the one before the prefix.
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (magnitude > limit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                              : static_cast<std::int64_t>(magnitude));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = store::parseWholeNumber(text);
    if (read != byFromChars(text)) finding("the two readings differ", text);
    if (store::isWholeNumber(text) != read.has_value()) finding("isWholeNumber disagrees", text);
    try {
        const std::int32_t value = store::toWholeNumber(text);
        if (!read || value != *read) finding("toWholeNumber read what the rule refuses", text);
    }
    catch (const store::Error& e) {
        if (read) finding("toWholeNumber refused a whole number", text);
        // what() is a C string: a text holding a zero character shows up to it.
        const std::string message = "'" + std::string(text) + "' is not a valid integer value";
        if (e.what() != message.substr(0, message.find('\0'))) finding("wrong message", text);
    }
    return 0;
}
