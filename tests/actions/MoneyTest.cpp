#include "actions/Money.h"

#include "tests/actions/Party.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace {

using actions_testing::errorOf;
using actions_testing::Party;
using actions_testing::Row;

const std::string coinColumns = "cp, sp, gp, pp, ad";

TEST(Money, AmountOfAnEdit)
{
    const struct {
        const char* text;
        std::optional<std::int32_t> amount;
    } cases[] = {
        {"", 0}, // nothing entered adds nothing
        {"0", 0},
        {"5", 5},
        {"-2", -2},
        {"  +12", 12},
        {"$10", 16},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"abc", std::nullopt},
        {"3 ", std::nullopt},
        {" ", std::nullopt},
        {"2147483648", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        if (c.amount)
            EXPECT_EQ(actions::amountOf(c.text), *c.amount);
        else
            EXPECT_EQ(errorOf([&] { actions::amountOf(c.text); }),
                      std::string("'") + c.text + "' is not a valid integer value");
    }
}

TEST(Money, AmountsAreAddedToEachCoinAsStored)
{
    const struct {
        const char* label;
        const char* before;
        actions::Coins amounts;
        Row after;
    } cases[] = {
        {"several coins", "10, 20, 30, 40, 50", {5, 0, -2, 0, 0}, {"15", "20", "28", "40", "50"}},
        {"all five at once", "1, 1, 1, 1, 1", {1, 2, 3, 4, 5}, {"2", "3", "4", "5", "6"}},
        {"below zero", "3, 0, 0, 0, 0", {-10, -1, 0, 0, 0}, {"-7", "-1", "0", "0", "0"}},
        {"a coin without a value stays so",
         "1, NULL, 1, 1, NULL",
         {1, 7, 1, 1, -3},
         {"2", "NULL", "2", "2", "NULL"}},
        {"up to the top and down to the bottom",
         "2147483640, -2147483640, 0, 0, 0",
         {7, -8, 0, 0, 0},
         {"2147483647", "-2147483648", "0", "0", "0"}},
        {"zero changes nothing", "4, 5, 6, 7, 8", {0, 0, 0, 0, 0}, {"4", "5", "6", "7", "8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Party party("INSERT INTO Table1 (Name, " + coinColumns + ") VALUES ('Ash', " + c.before +
                    ")");
        EXPECT_TRUE(actions::applyMoney(party.roster(), c.amounts));
        EXPECT_EQ(party.row("Ash", coinColumns), c.after);
        EXPECT_EQ(party.posts(), 1);
        EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
    }
}

TEST(Money, ACoinLeavingItsRangeRefusesTheWholeApply)
{
    const struct {
        const char* label;
        const char* before;
        actions::Coins amounts;
        const char* message;
    } cases[] = {
        {"past the top",
         "22, 5, 0, 0, 0",
         {2147483647, 1, 0, 0, 0},
         "The cp would become 2147483669, beyond what a coin can hold (-2147483648 to "
         "2147483647), so no coin was changed"},
        {"below the bottom, after coins that fit",
         "1, 1, 1, 1, -5",
         {1, 1, 1, 1, -2147483647},
         "The ad would become -2147483652, beyond what a coin can hold (-2147483648 to "
         "2147483647), so no coin was changed"},
        {"one past the top",
         "0, 0, 2147483647, 0, 0",
         {0, 0, 1, 0, 0},
         "The gp would become 2147483648, beyond what a coin can hold (-2147483648 to "
         "2147483647), so no coin was changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Party party("INSERT INTO Table1 (Name, " + coinColumns + ") VALUES ('Ash', " + c.before +
                    ")");
        const Row before = party.row("Ash", coinColumns);
        bool reset = false;
        EXPECT_EQ(errorOf([&] {
                      (void)actions::applyMoney(party.roster(), c.amounts, [&] { reset = true; });
                  }),
                  c.message);
        EXPECT_FALSE(reset); // the amounts stay in their edits, to be put right
        EXPECT_EQ(party.row("Ash", coinColumns), before);
        EXPECT_EQ(party.posts(), 0);
        EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
    }
}

TEST(Money, EditsAreResetAfterTheCoinsAreWrittenAndBeforeThePost)
{
    Party party("INSERT INTO Table1 (Name, cp, gp) VALUES ('Ash', 10, 30)");
    bool reset = false;
    EXPECT_TRUE(actions::applyMoney(party.roster(), {5, 0, -2, 0, 0}, [&] {
        reset = true;
        EXPECT_EQ(party.roster().state(), store::DatasetState::Edit);
        EXPECT_EQ(party.roster().fieldByName("cp").asInteger(), 15);
        EXPECT_EQ(party.roster().fieldByName("gp").asInteger(), 28);
        EXPECT_EQ(party.row("Ash", "cp, gp"), (Row{"10", "30"}));
    }));
    EXPECT_TRUE(reset);
    EXPECT_EQ(party.row("Ash", "cp, gp"), (Row{"15", "28"}));
}

TEST(Money, TotalsReadAfterThePostShowTheNewCoins)
{
    Party party("INSERT INTO Table1 (Name, cp) VALUES ('Ash', 10), ('Bo', 1)");
    if (actions::applyMoney(party.roster(), {5, 0, 0, 0, 0})) party.store.ADOTable2.reopen();
    EXPECT_EQ(party.store.ADOTable2.fieldByName("Sum-cp").asFloat(), 16.0);
}

TEST(Money, RefusedPostLeavesTheCoinsPending)
{
    Party party("INSERT INTO Table1 (Name, cp) VALUES ('Ash', 10);"
                "CREATE TRIGGER Refuse BEFORE UPDATE ON Table1 BEGIN SELECT RAISE(ABORT, 'purse is "
                "sealed'); END;");
    bool reset = false;
    bool posted = false;
    EXPECT_EQ(
        errorOf([&] {
            posted = actions::applyMoney(party.roster(), {5, 0, 0, 0, 0}, [&] { reset = true; });
        }),
        "purse is sealed");
    EXPECT_FALSE(posted);
    EXPECT_TRUE(reset);
    EXPECT_EQ(party.roster().state(), store::DatasetState::Edit);
    EXPECT_EQ(party.roster().fieldByName("cp").asInteger(), 15);
    EXPECT_EQ(party.row("Ash", "cp"), Row{"10"});

    // Applying again with the reset amounts posts the pending coins once, not twice.
    party.file.sql("DROP TRIGGER Refuse");
    EXPECT_TRUE(actions::applyMoney(party.roster(), {}));
    EXPECT_EQ(party.row("Ash", "cp"), Row{"15"});
}

TEST(Money, EmptyRosterChangesNothing)
{
    Party party;
    const std::string before = party.file.bytes();
    bool reset = false;
    EXPECT_FALSE(actions::applyMoney(party.roster(), {5, 0, 0, 0, 0}, [&] { reset = true; }));
    EXPECT_FALSE(reset);
    EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
    EXPECT_EQ(party.recordCount(), 0);
    EXPECT_EQ(party.file.bytes(), before);
}

TEST(Money, ClosedRosterRaisesTheDatasetError)
{
    Party party("INSERT INTO Table1 (Name, cp) VALUES ('Ash', 10)");
    party.roster().close();
    EXPECT_EQ(errorOf([&] {
                  (void)actions::applyMoney(party.roster(), {5, 0, 0, 0, 0});
              }),
              "ADOTable1: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(party.row("Ash", "cp"), Row{"10"});
}

} // namespace
