#include "actions/Surges.h"

#include "actions/HitPoints.h"
#include "actions/Rests.h"
#include "tests/actions/Party.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using actions_testing::errorOf;
using actions_testing::Party;
using actions_testing::Row;

TEST(Surges, SurgeValueIsAQuarterOfTheMaximumPlusTheBonus)
{
    const struct {
        std::int32_t total, bonus, value;
    } cases[] = {
        {40, 0, 10},
        {41, 0, 10},
        {42, 0, 10},
        {43, 0, 10},
        {27, 0, 6},
        {3, 0, 0},
        {0, 0, 0},
        {40, 5, 15},
        {3, 10, 10},
        {-7, 0, -1}, // truncated toward zero, not rounded down
        {-7, 2, 1},
        {std::numeric_limits<std::int32_t>::max(), 10, 536870921},
        {std::numeric_limits<std::int32_t>::min(), 0, -536870912},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + " with bonus " + std::to_string(c.bonus));
        EXPECT_EQ(actions::surgeValueOf(c.total, c.bonus), c.value);
    }
}

TEST(Surges, SurgeValueOfTheCurrentCharacter)
{
    Party party("INSERT INTO Table1 (Name, TotalHP) VALUES ('Ash', 43), ('Bo', 27)");
    EXPECT_EQ(actions::surgeValue(party.roster(), 0), 10);
    EXPECT_EQ(actions::surgeValue(party.roster(), 5), 15);
    party.roster().next();
    EXPECT_EQ(actions::secondWindValue(party.roster()), 6);
}

TEST(Surges, NoMaximumHitPointsOrNoCharacterHasNoSurgeValue)
{
    Party party("INSERT INTO Table1 (Name, TotalHP, CurHP) VALUES ('Ash', NULL, 5)");
    const std::string before = party.file.bytes();
    EXPECT_EQ(errorOf([&] { actions::surgeValue(party.roster(), 3); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(errorOf([&] { actions::secondWindValue(party.roster()); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
    EXPECT_EQ(party.posts(), 0);
    EXPECT_EQ(party.file.bytes(), before);

    Party empty;
    EXPECT_EQ(errorOf([&] { actions::surgeValue(empty.roster(), 0); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(empty.roster().state(), store::DatasetState::Browse);
    EXPECT_EQ(empty.recordCount(), 0);
}

// The window's "Use HS": the surge value goes into the heal edit, Apply posts the heal, and a
// second cycle counts the surge.
void useHealingSurge(store::Dataset& roster, std::int32_t bonus)
{
    const std::string heal = std::to_string(actions::surgeValue(roster, bonus));
    actions::applyHitPoints(roster, {"", heal, ""});
    actions::spendHealingSurge(roster);
}

TEST(Surges, UsingASurgeHealsAndCountsInTwoCycles)
{
    const struct {
        const char* label;
        const char* before; // CurHP, TotalHP, Dying, HealingSurgesUsed
        std::int32_t bonus;
        Row after; // CurHP, Dying, HealingSurgesUsed
    } cases[] = {
        {"heals by a quarter", "20, 43, 0, 2", 0, {"30", "0", "3"}},
        {"the bonus adds", "20, 40, 0, 0", 5, {"35", "0", "1"}},
        {"a dying one starts from 0", "-6, 40, 1, 1", 0, {"10", "0", "2"}},
        {"never past the maximum, still counted", "38, 40, 0, 4", 0, {"40", "0", "5"}},
        {"a first surge counts from nothing", "10, 40, 0, NULL", 0, {"20", "0", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Party party(std::string("INSERT INTO Table1 (Name, CurHP, TotalHP, Dying, "
                                "HealingSurgesUsed) VALUES ('Ash', ") +
                    c.before + ")");
        useHealingSurge(party.roster(), c.bonus);
        EXPECT_EQ(party.row("Ash", "CurHP, Dying, HealingSurgesUsed"), c.after);
        EXPECT_EQ(party.posts(), 2);
    }
}

TEST(Surges, SpendingASurgeOnAnEmptyRosterStoresANewRecord)
{
    Party party;
    actions::spendHealingSurge(party.roster());
    EXPECT_EQ(party.file.rows("SELECT Name, HealingSurgesUsed, CurHP FROM Table1"),
              (std::vector<Row>{{"NULL", "1", "0"}}));
}

TEST(Surges, SecondWindOnceUntilTheNextRest)
{
    Party party("INSERT INTO Table1 (Name, CurHP, TotalHP, HealingSurgesUsed, UsedSecondWind) "
                "VALUES ('Ash', 10, 40, 0, NULL)");
    store::Dataset& roster = party.roster();
    // The window's "Use Second Wind".
    const auto useSecondWind = [&] {
        if (actions::secondWindUsed(roster)) return;
        actions::applyHitPoints(roster, {"", std::to_string(actions::secondWindValue(roster)), ""});
        actions::spendSecondWind(roster);
    };

    EXPECT_FALSE(actions::secondWindUsed(roster)); // no value counts as not used
    useSecondWind();
    EXPECT_EQ(party.row("Ash", "CurHP, UsedSecondWind, HealingSurgesUsed"), (Row{"20", "1", "1"}));
    EXPECT_EQ(party.posts(), 2);
    EXPECT_TRUE(actions::secondWindUsed(roster));

    useSecondWind();
    EXPECT_EQ(party.row("Ash", "CurHP, UsedSecondWind, HealingSurgesUsed"), (Row{"20", "1", "1"}));
    EXPECT_EQ(party.posts(), 2);

    actions::takeShortRest(roster);
    EXPECT_FALSE(actions::secondWindUsed(roster));
    useSecondWind();
    EXPECT_EQ(party.row("Ash", "CurHP, UsedSecondWind, HealingSurgesUsed"), (Row{"30", "1", "2"}));
}

} // namespace
