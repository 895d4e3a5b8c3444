#include "actions/Money.h"

#include "store/Dataset.h"
#include "store/Value.h"
#include "store/WholeNumber.h"

#include <utility>

namespace actions {

std::int32_t amountOf(std::string_view text)
{
    return text.empty() ? 0 : store::toWholeNumber(text);
}

bool applyMoney(store::Dataset& roster, const Coins& amounts,
                const std::function<void()>& beforePost)
{
    // A closed roster goes on to the edit, which raises the dataset's own error.
    if (roster.active() && roster.isEmpty()) return false;
    roster.edit();
    const std::pair<const char*, std::int32_t> coins[] = {{"cp", amounts.cp},
                                                          {"sp", amounts.sp},
                                                          {"gp", amounts.gp},
                                                          {"pp", amounts.pp},
                                                          {"ad", amounts.ad}};
    for (const auto& [name, amount] : coins) {
        store::Field coin = roster.fieldByName(name);
        coin.setValue(store::addInteger(coin.value(), amount));
    }
    if (beforePost) beforePost();
    roster.post();
    return true;
}

} // namespace actions
