#include "store/Value.h"

#include "store/Decimal.h"
#include "store/Error.h"
#include "store/NumberFormat.h"

#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

using store::Decimal;
using store::Value;

using testing_support::errorOf;

TEST(Value, NullConversionsFailWithTheirTypeNames)
{
    const Value null;
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(errorOf([&] { (void)null.toInteger(); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(errorOf([&] { (void)null.toString(); }),
              "Could not convert variant of type (Null) into type (String)");
    EXPECT_EQ(errorOf([&] { (void)null.toBoolean(); }),
              "Could not convert variant of type (Null) into type (Boolean)");
    EXPECT_EQ(null.displayText(), "");
}

TEST(Value, ConversionsBetweenKinds)
{
    EXPECT_EQ(Value("42").toInteger(), 42);
    EXPECT_EQ(errorOf([] { (void)Value("4 2").toInteger(); }),
              "'4 2' is not a valid integer value");
    EXPECT_EQ(Value(true).toInteger(), -1);
    EXPECT_EQ(Value(2.5).toInteger(), 2); // halves go to the even neighbour
    EXPECT_EQ(Value(3.5).toInteger(), 4);
    EXPECT_EQ(errorOf([] { (void)Value(1e12).toInteger(); }),
              "Could not convert variant of type (Double) into type (Integer)");
    EXPECT_EQ(Value(Decimal::fromScaled(25000)).toInteger(), 2);
    EXPECT_EQ(Value(17).toString(), "17");
    EXPECT_EQ(Value(false).toString(), "False");
    EXPECT_EQ(Value("True").toBoolean(), true);
    EXPECT_EQ(errorOf([] { (void)Value("maybe").toBoolean(); }),
              "Could not convert variant of type (String) into type (Boolean)");
    EXPECT_EQ(Value(Decimal::fromInteger(3)).toFloat(), 3.0);
}

TEST(Value, AddingToNothingGivesNothing)
{
    EXPECT_TRUE(store::addInteger(Value(), 5).isNull());
    EXPECT_EQ(store::addInteger(Value(5), -7), Value(-2));
    // The arithmetic wraps as 32-bit machine integers do, without undefined behaviour.
    EXPECT_EQ(store::addInteger(Value(std::numeric_limits<int>::max()), 1),
              Value(std::numeric_limits<int>::min()));
    EXPECT_EQ(store::wrappingSub(std::numeric_limits<int>::min(), 1),
              std::numeric_limits<int>::max());
}

TEST(Decimal, ParsesAndShowsWithoutTrailingZeros)
{
    const struct {
        const char* text;
        long long scaled;
        const char* shown;
    } cases[] = {
        {"0", 0, "0"},
        {"2.5", 25000, "2.5"},
        {"-2.5", -25000, "-2.5"},
        {"3.0000", 30000, "3"},
        {"0.0001", 1, "0.0001"},
        {"1.23456", 12345, "1.2345"},
        {"+7", 70000, "7"},
        {"922337203685477.5807", std::numeric_limits<long long>::max(), "922337203685477.5807"},
        {"-922337203685477.5808", std::numeric_limits<long long>::min(), "-922337203685477.5808"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto d = Decimal::parse(c.text);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->scaled(), c.scaled);
        EXPECT_EQ(d->toString(), c.shown);
    }
    for (const char* bad : {"", "-", ".", "1.2.3", "1,5", "abc", "922337203685477.5808", "1e5"})
        EXPECT_FALSE(Decimal::parse(bad).has_value()) << bad;
    EXPECT_EQ(Decimal::fromScaled(25000).toString(','), "2,5");
}

TEST(NumberFormat, GeneralFormatWithFifteenDigits)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {0.5, "0.5"},
        {1, "1"},
        {0.002, "0.002"},
        {0.022, "0.022"},
        {12.5, "12.5"},
        {-3.25, "-3.25"},
        {1.0 / 3, "0.333333333333333"},
        {0.1 + 0.2, "0.3"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {171798691.84, "171798691.84"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(store::formatGeneral(c.value), c.text);
    }
    store::setDecimalSeparator(',');
    EXPECT_EQ(store::formatGeneral(0.5), "0,5");
    store::setDecimalSeparator('.');
}

} // namespace
