#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace store {
class Dataset;
}

namespace actions {

// The three hit point values of one character, as 32-bit integers.
struct HitPoints {
    std::int32_t current = 0;
    std::int32_t temporary = 0;
    std::int32_t total = 0;
    friend bool operator==(const HitPoints&, const HitPoints&) = default;
};

// The three edits of the hit point box, in the order they are applied.
enum class HitPointEntry { Damage, Heal, Temporary };

// What the master typed, one text per edit; an empty text means nothing entered.
struct HitPointTexts {
    std::string_view damage;
    std::string_view heal;
    std::string_view temporary;
};

// What becomes of the character's Dying mark.
enum class DyingChange { Unchanged, Set, Cleared };

struct HitPointResult {
    HitPoints hitPoints;
    DyingChange dying = DyingChange::Unchanged;
    // The edits whose text is not a whole number, in the order damage, heal, temporary.
    std::vector<HitPointEntry> badEntries;
};

// Applies one entry's number to the working values and tells what it did to Dying. Damage
// goes to the temporary hit points first and marks dying at 0 or below; a heal from 0 or
// below starts at 0 and clears the mark, and never passes the total; temporary hit points
// are the larger of the old and the new, never a sum. Integers wrap as 32-bit machine
// integers do.
DyingChange applyHitPointEntry(HitPoints& hitPoints, HitPointEntry entry, std::int32_t number);

// The whole Apply without the database: damage, heal and temporary hit points in this order,
// each text read by the whole-number rule; a text that breaks it changes nothing and is
// reported. A damage that marks dying and a heal that clears it leave it cleared.
HitPointResult computeHitPoints(HitPoints before, const HitPointTexts& texts);

// One edit that held text, as Apply used it.
struct EnteredText {
    HitPointEntry entry;
    std::string_view text;
    bool numeric; // false: dropped, and the master is shown notNumericMessage(text)
};

// Apply on the roster's current character: reads CurHP, TempHP and TotalHP as integers,
// puts the record into edit state (always, also with nothing entered; on an empty roster a
// new record is started), applies the entries, writes the three values back (a field without
// a value is so written as 0) together with Dying when an entry set or cleared it, and posts.
//
// Every edit that held text is told to `entered` in the order damage, heal, temporary, after
// the record is in edit state and before it is written. The window empties the edit there
// (and warns and focuses it when it was not numeric); emptying before the post means that
// when the database refuses the post and the master presses Apply again, the change still
// pending in the record is posted instead of being applied a second time.
HitPointResult applyHitPoints(store::Dataset& roster, const HitPointTexts& texts,
                              const std::function<void(const EnteredText&)>& entered = {});

} // namespace actions
