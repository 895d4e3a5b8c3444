#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace store {
class Dataset;
}

namespace actions {

// Amounts of the five kinds of coin to add to a character; negative amounts take coins away.
struct Coins {
    std::int32_t cp = 0;
    std::int32_t sp = 0;
    std::int32_t gp = 0;
    std::int32_t pp = 0;
    std::int32_t ad = 0;
};

// The amount an amount edit stands for. An empty edit adds nothing, so it counts as 0;
// anything else must be a whole number (check it first with passesNumericCheck), or this
// raises "'<text>' is not a valid integer value".
std::int32_t amountOf(std::string_view text);

// Adds the amounts to the current character's coins in one Edit/Post cycle, in the order
// cp, sp, gp, pp, ad. Each coin is added to as stored: a coin without a value stays without
// one. `beforePost` runs after the coins are written and before the post: the window resets
// its amount edits there, so that when the database refuses the post, pressing Apply again
// posts the pending coins instead of adding the amounts a second time.
//
// A coin that would leave the 32-bit range refuses the whole Apply before anything is written,
// with a message naming the coin.
//
// Returns whether the coins were posted. With no character in the roster there is nobody to
// give the coins to: nothing is written, `beforePost` does not run and this returns false,
// where an edit would have started a new, nameless character. After true the window reopens
// the coin totals (ADOTable2), then the weight (ADOTable4), whose total includes the coins;
// a failure raises, so neither is reopened after a refused post.
[[nodiscard]] bool applyMoney(store::Dataset& roster, const Coins& amounts,
                              const std::function<void()>& beforePost = {});

} // namespace actions
