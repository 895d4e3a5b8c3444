#include "store/DerivedFields.h"

#include "store/PartyStore.h"
#include "tests/support/PartyFixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::PartyFile;

// One character whose stored fields each case sets through SQL, as another program could,
// before the roster is read again.
class DerivedFields : public ::testing::Test {
protected:
    void SetUp() override
    {
        file.sql("INSERT INTO Table1 (Name) VALUES ('Aldric')");
        file.open(party);
    }
    std::string derived(const std::string& assignments, const char* field)
    {
        file.sql("UPDATE Table1 SET " + assignments);
        party.ADOTable1.reopen();
        return party.ADOTable1.fieldByName(field).displayText();
    }
    PartyFile file;
    store::PartyStore party;
};

TEST_F(DerivedFields, HitPointActionPointAndMilestoneTexts)
{
    const struct {
        const char* values;
        const char* field;
        const char* text;
    } cases[] = {
        {"CurHP = 17, TotalHP = 40, TempHP = 0", "HP", "17(40) +0"},
        {"CurHP = -7, TotalHP = 40, TempHP = 5", "HP", "-7(40) +5"},
        {"CurHP = 17, TotalHP = 40, TempHP = NULL", "HP", "17(40) +"},
        {"CurHP = NULL, TotalHP = NULL, TempHP = NULL", "HP", "() +"},
        // 20 characters at most: the second number is cut after its eighth character.
        {"CurHP = -2147483648, TotalHP = -2147483648, TempHP = 5", "HP", "-2147483648(-2147483"},
        {"UsedAPoints = 0, APoints = 1", "AP", "0(1)"},
        {"UsedMilestone = 2, Milestone = 3", "MS", "2(3)"},
        {"UsedAPoints = -2147483648, APoints = -2147483648", "AP", "-2147483648(-2147483"},
        {"UsedMilestone = NULL, Milestone = 4", "MS", "(4)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values);
        EXPECT_EQ(derived(c.values, c.field), c.text);
    }
}

TEST_F(DerivedFields, EffectsListTheConditionsInForceInFieldOrder)
{
    const std::string none =
        "Blinded=0, Dazed=0, Dominated=0, Dying=0, Helpless=0, Immobilized=0, Marked=0, "
        "Petrified=0, Prone=0, Restrained=0, Slowed=0, Stunned=0, Surprised=0, "
        "Unconscious=0, Weakened=0, PC=0, UsedSecondWind=0";
    const struct {
        const char* values;
        const char* text;
    } cases[] = {
        {"Dying = 0", ""},
        {"Dying = 1", "Dy"},
        {"Dazed = 1, Prone = 1", "Da, Pr"},
        {"Weakened = 1, Blinded = 1", "Bl, We"},
        {"PC = 1, UsedSecondWind = 1", ""},
        {"Prone = NULL, Marked = 1", "Ma"},
        {"Blinded=1, Dazed=1, Dominated=1, Dying=1, Helpless=1, Immobilized=1, Marked=1, "
         "Petrified=1, Prone=1, "
         "Restrained=1, Slowed=1, Stunned=1, Surprised=1, Unconscious=1, Weakened=1",
         "Bl, Da, Do, Dy, He, Im, Ma, Pe, Pr, Re, Sl, St, Su, Un, We"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values);
        file.sql("UPDATE Table1 SET " + none);
        EXPECT_EQ(derived(c.values, "Effects"), c.text);
    }
    EXPECT_EQ(party.ADOTable1.fieldByName("Effects").displayText().size(), 58u);
}

TEST_F(DerivedFields, MoneyWeightAndTotalWeight)
{
    file.sql("INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Pack', 10), ('Aldric', "
             "'Rope', 2)");
    const struct {
        const char* coins;
        const char* moneyWeight;
        const char* totalWeight;
    } cases[] = {
        {"cp=0, sp=0, gp=0, pp=0, ad=0", "0", "12"},
        {"cp=0, sp=0, gp=25, pp=0, ad=0", "0.5", "12.5"},
        {"cp=10, sp=10, gp=10, pp=20, ad=0", "1", "13"},
        {"cp=0, sp=0, gp=0, pp=0, ad=1", "0.002", "12.002"},
        {"cp=1, sp=0, gp=0, pp=0, ad=1", "0.022", "12.022"},
        {"cp=NULL, sp=0, gp=0, pp=0, ad=100", "", "12"},
        // Four full purses pass the 32-bit range together without harm.
        {"cp=2147483647, sp=2147483647, gp=2147483647, pp=2147483647, ad=0", "171798691.76",
         "171798703.76"},
        {"cp=-50, sp=0, gp=0, pp=0, ad=0", "-1", "11"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.coins);
        EXPECT_EQ(derived(c.coins, "MoneyWeight"), c.moneyWeight);
        party.ADOTable4.reopen();
        EXPECT_EQ(party.ADOTable4.fieldByName("TotalWeight").displayText(), c.totalWeight);
    }
}

TEST_F(DerivedFields, TotalWeightIsComputedWhenTheWeightRowIsRead)
{
    file.sql("INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Pack', 12); UPDATE "
             "Table1 SET gp = 0");
    party.ADOTable1.reopen();
    party.ADOTable4.reopen();
    auto& r = party.ADOTable1;
    EXPECT_EQ(party.ADOTable4.fieldByName("TotalWeight").displayText(), "12");
    // A change of the coins alone does not compute it again; reading the row again does.
    r.edit();
    r.fieldByName("gp").setAsInteger(25);
    r.post();
    EXPECT_EQ(r.fieldByName("MoneyWeight").displayText(), "0.5");
    EXPECT_EQ(party.ADOTable4.fieldByName("TotalWeight").displayText(), "12");
    party.ADOTable4.reopen();
    EXPECT_EQ(party.ADOTable4.fieldByName("TotalWeight").displayText(), "12.5");
    // A character without items has no weight row at all.
    file.sql("INSERT INTO Table1 (Name) VALUES ('Brynn')");
    r.reopen();
    r.next();
    EXPECT_TRUE(party.ADOTable4.isEmpty());
    EXPECT_EQ(party.ADOTable4.fieldByName("TotalWeight").displayText(), "");
}

TEST(DerivedTexts, CutCountsCharactersNotBytes)
{
    EXPECT_EQ(store::cutToCharacters("ÆÆÆÆ", 2), "ÆÆ");
    EXPECT_EQ(store::cutToCharacters("abc", 3), "abc");
    EXPECT_EQ(store::cutToCharacters("abcd", 3), "abc");
    EXPECT_EQ(store::cutToCharacters("鈴木さん", 3), "鈴木さ");
}

} // namespace
