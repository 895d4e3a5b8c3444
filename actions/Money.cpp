#include "actions/Money.h"

#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Value.h"
#include "store/WholeNumber.h"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace actions {

namespace {

using CoinAmounts = std::pair<const char*, std::int32_t>[5];

// A coin holds a 32-bit whole number. An Apply that would carry one past that is refused as a
// whole before anything is written: wrapping round would turn a fortune into a debt.
void requireCoinsInRange(store::Dataset& roster, const CoinAmounts& coins)
{
    for (const auto& [name, amount] : coins) {
        const store::Value stored = roster.fieldByName(name).value();
        if (stored.type() != store::ValueType::Integer) continue;
        const std::int64_t sum = std::int64_t{stored.integer()} + amount;
        if (sum >= std::numeric_limits<std::int32_t>::min() &&
            sum <= std::numeric_limits<std::int32_t>::max())
            continue;
        throw store::Error(store::formatMessage(
            "The %s would become %s, beyond what a coin can hold (%s to %s), so no coin was "
            "changed",
            {name, std::to_string(sum), std::to_string(std::numeric_limits<std::int32_t>::min()),
             std::to_string(std::numeric_limits<std::int32_t>::max())}));
    }
}

} // namespace

std::int32_t amountOf(std::string_view text)
{
    return text.empty() ? 0 : store::toWholeNumber(text);
}

bool applyMoney(store::Dataset& roster, const Coins& amounts,
                const std::function<void()>& beforePost)
{
    // A closed roster goes on to the edit, which raises the dataset's own error.
    if (roster.active() && roster.isEmpty()) return false;
    const CoinAmounts coins = {{"cp", amounts.cp},
                               {"sp", amounts.sp},
                               {"gp", amounts.gp},
                               {"pp", amounts.pp},
                               {"ad", amounts.ad}};
    requireCoinsInRange(roster, coins);
    roster.edit();
    for (const auto& [name, amount] : coins) {
        store::Field coin = roster.fieldByName(name);
        coin.setValue(store::addInteger(coin.value(), amount));
    }
    if (beforePost) beforePost();
    roster.post();
    return true;
}

} // namespace actions
