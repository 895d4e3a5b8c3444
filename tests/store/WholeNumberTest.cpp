#include "store/WholeNumber.h"

#include "store/Error.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Case {
    const char* text;
    std::optional<int> value;
};

const Case cases[] = {
    {"0", 0},
    {"7", 7},
    {"-7", -7},
    {"+7", 7},
    {"   42", 42},          // leading blanks are allowed
    {"42 ", std::nullopt},  // nothing may follow the digits
    {" - 5", std::nullopt}, // no blank after the sign
    {"", std::nullopt},     // the empty text is not a number
    {"   ", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"007", 7},
    {"-0", 0},
    {"$1F", 31},
    {"x1f", 31},
    {"X10", 16},
    {"0x10", 16},
    {"0XfF", 255},
    {"-$10", -16},
    {"+0x7FFFFFFF", 2147483647},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"x", std::nullopt},
    {"0x1G", std::nullopt},
    {"12a", std::nullopt},
    {"1.5", std::nullopt},
    {"1e3", std::nullopt},
    {"2147483647", 2147483647},
    {"2147483648", std::nullopt},
    {"-2147483648", -2147483647 - 1},
    {"-2147483649", std::nullopt},
    {"0x80000000", std::nullopt},
    {"-0x80000000", -2147483647 - 1},
    {"00000000000000000000012", 12}, // leading zeros do not overflow
    {"99999999999999999999999", std::nullopt},
    {"\t5", std::nullopt}, // only blanks lead
    {"5\n", std::nullopt},
    {"٣", std::nullopt}, // other scripts' digits are not digits here
};

TEST(WholeNumber, TableOfCases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "'");
        EXPECT_EQ(store::parseWholeNumber(c.text), c.value);
        EXPECT_EQ(store::isWholeNumber(c.text), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(store::toWholeNumber(c.text), *c.value);
        }
    }
}

TEST(WholeNumber, ConversionErrorQuotesTheText)
{
    const struct {
        const char* text;
        const char* message;
    } failures[] = {
        {"abc", "'abc' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"7 ", "'7 ' is not a valid integer value"},
    };
    for (const auto& f : failures) {
        try {
            store::toWholeNumber(f.text);
            ADD_FAILURE() << "no error for '" << f.text << "'";
        }
        catch (const store::Error& e) {
            EXPECT_STREQ(e.what(), f.message);
        }
    }
}

} // namespace
