#include "actions/NumericCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(NumericCheck, EmptyPassesAndEveryOtherTextMustBeAWholeNumber)
{
    const struct {
        const char* text;
        bool passes;
    } cases[] = {
        {"", true},     {"12", true},          {"-3", true},  {"  4", true},
        {"0x1F", true}, {"-2147483648", true}, {"4 ", false}, {" ", false},
        {"abc", false}, {"1.5", false},        {"+", false},  {"2147483648", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        EXPECT_EQ(actions::passesNumericCheck(c.text), c.passes);
    }
    EXPECT_EQ(actions::notNumericMessage("abc"), "abc is not numeric value");
    EXPECT_EQ(actions::notNumericMessage(" 4 "), " 4  is not numeric value");
}

} // namespace
