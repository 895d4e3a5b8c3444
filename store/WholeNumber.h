#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace store {

// The one rule by which the program reads a whole number from text: optional leading blanks,
// an optional sign, then decimal digits, or "$", "x", "X", "0x" or "0X" and hexadecimal
// digits; nothing after the digits, not even a blank; the value must fit 32 bits. The empty
// text is not a whole number.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);
bool isWholeNumber(std::string_view text);

// As parseWholeNumber, but a text that breaks the rule raises
// "'<text>' is not a valid integer value".
std::int32_t toWholeNumber(std::string_view text);

} // namespace store
