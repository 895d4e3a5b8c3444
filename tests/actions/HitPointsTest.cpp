#include "actions/HitPoints.h"

#include "actions/NumericCheck.h"
#include "tests/actions/Party.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using actions::DyingChange;
using actions::HitPointEntry;
using actions::HitPoints;
using actions_testing::errorOf;
using actions_testing::Party;
using actions_testing::Row;

constexpr std::int32_t intMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t intMax = std::numeric_limits<std::int32_t>::max();

constexpr auto D = HitPointEntry::Damage;
constexpr auto H = HitPointEntry::Heal;
constexpr auto T = HitPointEntry::Temporary;

struct Case {
    const char* label;
    HitPoints before;
    bool dyingBefore;
    const char* damage;
    const char* heal;
    const char* temporary;
    HitPoints after;
    bool dyingAfter;
    DyingChange change;
    std::vector<HitPointEntry> bad;
};

// clang-format off
const Case cases[] = {
    // The master's everyday cases.
    {"temporary hit points absorb part",  {20, 5, 40},  false, "8",  "",   "",   {17, 0, 40},  false, DyingChange::Unchanged, {}},
    {"temporary hit points absorb all",   {20, 10, 40}, false, "8",  "",   "",   {20, 2, 40},  false, DyingChange::Unchanged, {}},
    {"damage equal to temporary",         {20, 5, 40},  false, "5",  "",   "",   {20, 0, 40},  false, DyingChange::Unchanged, {}},
    {"damage below zero marks dying",     {5, 0, 40},   false, "12", "",   "",   {-7, 0, 40},  true,  DyingChange::Set,       {}},
    {"absorbed damage keeps dying",       {-3, 4, 40},  true,  "2",  "",   "",   {-3, 2, 40},  true,  DyingChange::Set,       {}},
    {"no damage at zero marks dying",     {0, 0, 40},   false, "0",  "",   "",   {0, 0, 40},   true,  DyingChange::Set,       {}},
    {"negative damage adds temporary",    {20, 2, 40},  false, "-3", "",   "",   {20, 5, 40},  false, DyingChange::Unchanged, {}},
    {"heal from below zero starts at 0",  {-7, 0, 40},  true,  "",   "10", "",   {10, 0, 40},  false, DyingChange::Cleared,   {}},
    {"heal from below zero is capped",    {-7, 0, 40},  true,  "",   "50", "",   {40, 0, 40},  false, DyingChange::Cleared,   {}},
    {"heal 0 at zero clears dying",       {0, 0, 40},   true,  "",   "0",  "",   {0, 0, 40},   false, DyingChange::Cleared,   {}},
    {"heal is capped at the total",       {35, 0, 40},  false, "",   "10", "",   {40, 0, 40},  false, DyingChange::Unchanged, {}},
    {"heal 0 caps a current above total", {45, 0, 40},  false, "",   "0",  "",   {40, 0, 40},  false, DyingChange::Unchanged, {}},
    {"negative heal lowers current",      {20, 0, 40},  false, "",   "-25", "",  {-5, 0, 40},  false, DyingChange::Unchanged, {}},
    {"damage then heal in one apply",     {10, 0, 40},  false, "15", "8",  "",   {8, 0, 40},   false, DyingChange::Cleared,   {}},
    {"new temporary does not absorb",     {20, 3, 40},  false, "8",  "",   "5",  {15, 5, 40},  false, DyingChange::Unchanged, {}},
    {"lower temporary is ignored",        {20, 8, 40},  false, "",   "",   "5",  {20, 8, 40},  false, DyingChange::Unchanged, {}},
    {"higher temporary replaces",         {20, 3, 40},  false, "",   "",   "5",  {20, 5, 40},  false, DyingChange::Unchanged, {}},
    {"negative temporary is ignored",     {20, 3, 40},  false, "",   "",   "-2", {20, 3, 40},  false, DyingChange::Unchanged, {}},
    {"bad damage, heal still applied",    {20, 0, 40},  false, "abc", "5", "",   {25, 0, 40},  false, DyingChange::Unchanged, {D}},
    {"nothing entered",                   {20, 3, 40},  true,  "",   "",   "",   {20, 3, 40},  true,  DyingChange::Unchanged, {}},

    // Negative entries.
    {"negative damage on a dying one",    {-3, 0, 40},  true,  "-4", "",   "",   {-3, 4, 40},  true,  DyingChange::Set,       {}},
    {"negative damage past negative temp",    {20, -5, 40}, false, "-3", "",   "",   {18, 0, 40},  false, DyingChange::Unchanged, {}},
    {"negative heal from below zero",     {0, 0, 40},   true,  "",   "-5", "",   {-5, 0, 40},  false, DyingChange::Cleared,   {}},
    {"negative heal never marks dying",   {3, 0, 40},   false, "",   "-9", "",   {-6, 0, 40},  false, DyingChange::Unchanged, {}},
    {"negative temporary over negative",  {20, -5, 40}, false, "",   "",   "-2", {20, -2, 40}, false, DyingChange::Unchanged, {}},

    // The whole-number rule decides what a number is.
    {"leading blanks and sign",           {20, 0, 40},  false, "  +4", "",  "",   {16, 0, 40},  false, DyingChange::Unchanged, {}},
    {"hexadecimal damage",                {20, 0, 40},  false, "$A",  "",   "",   {10, 0, 40},  false, DyingChange::Unchanged, {}},
    {"hexadecimal heal",                  {10, 0, 40},  false, "",    "0x10", "", {26, 0, 40},  false, DyingChange::Unchanged, {}},
    {"trailing blank is bad",             {20, 0, 40},  false, "4 ",  "",   "",   {20, 0, 40},  false, DyingChange::Unchanged, {D}},
    {"decimal point is bad",              {20, 0, 40},  false, "",    "1.5", "",  {20, 0, 40},  false, DyingChange::Unchanged, {H}},
    {"lone sign is bad",                  {20, 0, 40},  false, "",    "",   "-",  {20, 0, 40},  false, DyingChange::Unchanged, {T}},
    {"beyond 32 bits is bad",             {20, 0, 40},  false, "2147483648", "", "", {20, 0, 40}, false, DyingChange::Unchanged, {D}},
    {"blanks only are bad",               {20, 0, 40},  false, "",    "   ", "",  {20, 0, 40},  false, DyingChange::Unchanged, {H}},
    {"all three bad, in order",           {20, 3, 40},  false, "x",   "y",  "z",  {20, 3, 40},  false, DyingChange::Unchanged, {D, H, T}},
    {"bad heal between good entries",     {20, 0, 40},  false, "5",   "q",  "7",  {15, 7, 40},  false, DyingChange::Unchanged, {H}},

    // Extreme values wrap as 32-bit integers do.
    {"most negative damage",              {20, 0, 40},  false, "-2147483648", "", "", {20, intMin, 40}, false, DyingChange::Unchanged, {}},
    {"most negative damage, temporary 5", {20, 5, 40},  false, "-2147483648", "", "", {20, intMin + 5, 40}, false, DyingChange::Unchanged, {}},
    {"largest damage",                    {20, 5, 40},  false, "2147483647", "", "", {25 - intMax, 0, 40}, true, DyingChange::Set, {}},
    {"largest damage past the bottom",    {-10, 0, 40}, true,  "2147483647", "", "", {intMax - 8, 0, 40}, true, DyingChange::Unchanged, {}},
    {"damage past a most negative temp",  {20, intMin, 40}, false, "1", "", "",  {intMin + 19, 0, 40}, true, DyingChange::Set, {}},
    {"largest heal of a dying one",       {-7, 0, 40},  true,  "",   "2147483647", "", {40, 0, 40}, false, DyingChange::Cleared, {}},
    {"largest heal with no total",        {-7, 0, intMax}, true, "", "2147483647", "", {intMax, 0, intMax}, false, DyingChange::Cleared, {}},
    {"largest heal past the top",         {20, 0, 40},  false, "",   "2147483647", "", {intMin + 19, 0, 40}, false, DyingChange::Unchanged, {}},
    {"most negative heal",                {20, 0, 40},  false, "",   "-2147483648", "", {intMin + 20, 0, 40}, false, DyingChange::Unchanged, {}},
    {"extreme temporary",                 {20, 0, 40},  false, "",   "",   "2147483647", {20, intMax, 40}, false, DyingChange::Unchanged, {}},
};
// clang-format on

TEST(HitPoints, TableOfCases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto result = actions::computeHitPoints(c.before, {c.damage, c.heal, c.temporary});
        EXPECT_EQ(result.hitPoints.current, c.after.current);
        EXPECT_EQ(result.hitPoints.temporary, c.after.temporary);
        EXPECT_EQ(result.hitPoints.total, c.after.total);
        EXPECT_EQ(result.dying, c.change);
        const bool dying = result.dying == DyingChange::Set       ? true
                           : result.dying == DyingChange::Cleared ? false
                                                                  : c.dyingBefore;
        EXPECT_EQ(dying, c.dyingAfter);
        EXPECT_EQ(result.badEntries, c.bad);
    }
}

// The same table through Apply on a real party file: what the file holds afterwards.
TEST(HitPoints, ApplyWritesTheTableToTheFile)
{
    std::string setup;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        setup += "INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP, Dying) VALUES ('C" +
                 std::to_string(i) + "', " + std::to_string(c.before.current) + ", " +
                 std::to_string(c.before.temporary) + ", " + std::to_string(c.before.total) + ", " +
                 (c.dyingBefore ? "1" : "0") + ");";
    }
    Party party(setup);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.label);
        if (i > 0) party.roster().next();
        actions::applyHitPoints(party.roster(), {c.damage, c.heal, c.temporary});
        EXPECT_EQ(party.roster().state(), store::DatasetState::Browse);
        EXPECT_EQ(party.row("C" + std::to_string(i), "CurHP, TempHP, TotalHP, Dying"),
                  (Row{std::to_string(c.after.current), std::to_string(c.after.temporary),
                       std::to_string(c.after.total), c.dyingAfter ? "1" : "0"}));
    }
    EXPECT_EQ(party.posts(), static_cast<int>(std::size(cases)));
}

TEST(HitPoints, NothingEnteredStillPostsAndWritesMissingValuesAsZero)
{
    Party party("INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP, Dying) VALUES ('Ash', NULL, "
                "NULL, NULL, NULL)");
    bool told = false;
    actions::applyHitPoints(party.roster(), {"", "", ""},
                            [&](const actions::EnteredText&) { told = true; });
    EXPECT_FALSE(told); // an empty edit is left as it is
    EXPECT_EQ(party.posts(), 1);
    // Dying was neither set nor cleared, so it is not written either.
    EXPECT_EQ(party.row("Ash", "CurHP, TempHP, TotalHP, Dying"), (Row{"0", "0", "0", "NULL"}));
}

TEST(HitPoints, DyingIsWrittenOnlyWhenAnEntryChangesIt)
{
    Party party(
        "INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP, Dying) VALUES ('Ash', 20, 0, 40, 0)");
    // Another program marks the character dying after the roster was read. A heal that does
    // not touch Dying is posted without it, so the other program's mark stays.
    party.file.sql("UPDATE Table1 SET Dying = 1 WHERE Name = 'Ash'");
    actions::applyHitPoints(party.roster(), {"", "5", ""});
    EXPECT_EQ(party.row("Ash", "CurHP, Dying"), (Row{"25", "1"}));
}

TEST(HitPoints, EveryEnteredTextIsToldInOrderWhileTheRecordIsEdited)
{
    Party party("INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP) VALUES ('Ash', 20, 0, 40)");
    struct Told {
        HitPointEntry entry;
        std::string text;
        bool numeric;
        store::DatasetState state;
        Row stored;
    };
    std::vector<Told> told;
    const auto result = actions::applyHitPoints(
        party.roster(), {"5", "zz", "7"}, [&](const actions::EnteredText& e) {
            told.push_back({e.entry, std::string(e.text), e.numeric, party.roster().state(),
                            party.row("Ash", "CurHP, TempHP")});
        });
    ASSERT_EQ(told.size(), 3u);
    const Told expected[] = {
        {D, "5", true, {}, {}}, {H, "zz", false, {}, {}}, {T, "7", true, {}, {}}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(told[i].entry, expected[i].entry);
        EXPECT_EQ(told[i].text, expected[i].text);
        EXPECT_EQ(told[i].numeric, expected[i].numeric);
        // After the edit, before anything reaches the file.
        EXPECT_EQ(told[i].state, store::DatasetState::Edit);
        EXPECT_EQ(told[i].stored, (Row{"20", "0"}));
    }
    EXPECT_EQ(actions::notNumericMessage(told[1].text), "zz is not numeric value");
    EXPECT_EQ(result.badEntries, std::vector<HitPointEntry>{H});
    EXPECT_EQ(party.row("Ash", "CurHP, TempHP"), (Row{"15", "7"}));
}

TEST(HitPoints, PendingChangeIsReadAndPostedWithIt)
{
    // A pending change of the record (a condition ticked and not yet posted) is part of what
    // Apply reads and posts.
    Party party("INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP) VALUES ('Ash', 20, 0, 40)");
    party.roster().edit();
    party.roster().fieldByName("Stunned").setAsBoolean(true);
    party.roster().fieldByName("CurHP").setAsInteger(12);
    actions::applyHitPoints(party.roster(), {"2", "", ""});
    EXPECT_EQ(party.row("Ash", "CurHP, Stunned"), (Row{"10", "1"}));
    EXPECT_EQ(party.posts(), 1);
}

TEST(HitPoints, EmptyRosterStoresANewRecordWithTheComputedFields)
{
    Party party;
    actions::applyHitPoints(party.roster(), {"5", "", "3"});
    ASSERT_EQ(party.recordCount(), 1);
    EXPECT_EQ(
        party.file.rows("SELECT Name, CurHP, TempHP, TotalHP, Dying, PC, APoints FROM Table1"),
        (std::vector<Row>{{"NULL", "-5", "3", "0", "1", "0", "0"}}));
    EXPECT_EQ(party.roster().recordCount(), 1);
}

TEST(HitPoints, EmptyRosterWithoutDyingLeavesItToTheDefault)
{
    Party party;
    actions::applyHitPoints(party.roster(), {"", "", ""});
    EXPECT_EQ(party.file.rows("SELECT CurHP, TempHP, TotalHP, Dying FROM Table1"),
              (std::vector<Row>{{"0", "0", "0", "0"}}));
}

TEST(HitPoints, RefusedPostLeavesTheChangePendingWithTheEditsAlreadyTold)
{
    Party party("INSERT INTO Table1 (Name, CurHP, TempHP, TotalHP) VALUES ('Ash', 20, 0, 40);"
                "CREATE TRIGGER Refuse BEFORE UPDATE ON Table1 BEGIN SELECT RAISE(ABORT, 'locked "
                "by the referee'); END;");
    int told = 0;
    EXPECT_EQ(errorOf([&] {
                  actions::applyHitPoints(party.roster(), {"8", "", ""},
                                          [&](const actions::EnteredText&) { ++told; });
              }),
              "locked by the referee");
    EXPECT_EQ(told, 1);
    EXPECT_EQ(party.roster().state(), store::DatasetState::Edit);
    EXPECT_EQ(party.roster().fieldByName("CurHP").asInteger(), 12);
    EXPECT_EQ(party.row("Ash", "CurHP"), Row{"20"});
}

TEST(HitPoints, ClosedRosterRaisesBeforeTellingAnyEdit)
{
    Party party;
    party.roster().close();
    bool told = false;
    EXPECT_EQ(errorOf([&] {
                  actions::applyHitPoints(party.roster(), {"8", "", ""},
                                          [&](const actions::EnteredText&) { told = true; });
              }),
              "ADOTable1: Cannot perform this operation on a closed dataset");
    EXPECT_FALSE(told); // the edit keeps its text
}

} // namespace
