#include "actions/HitPoints.h"

#include "store/Dataset.h"
#include "store/Value.h"
#include "store/WholeNumber.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace actions {

namespace {

using store::wrappingAdd;
using store::wrappingSub;

std::array<std::pair<HitPointEntry, std::string_view>, 3> inOrder(const HitPointTexts& texts)
{
    return {{{HitPointEntry::Damage, texts.damage},
             {HitPointEntry::Heal, texts.heal},
             {HitPointEntry::Temporary, texts.temporary}}};
}

} // namespace

DyingChange applyHitPointEntry(HitPoints& hp, HitPointEntry entry, std::int32_t number)
{
    switch (entry) {
    case HitPointEntry::Damage: {
        std::int32_t rest = number;
        if (rest <= hp.temporary) {
            hp.temporary = wrappingSub(hp.temporary, rest);
            rest = 0;
        }
        else {
            rest = wrappingSub(rest, hp.temporary);
            hp.temporary = 0;
        }
        hp.current = wrappingSub(hp.current, rest);
        // Also when the temporary hit points took it all: a character already down stays so.
        return hp.current < 1 ? DyingChange::Set : DyingChange::Unchanged;
    }
    case HitPointEntry::Heal: {
        DyingChange dying = DyingChange::Unchanged;
        if (hp.current >= 1) {
            hp.current = wrappingAdd(hp.current, number);
        }
        else {
            // Healing a character who is down starts from 0: the negative hit points are
            // forgotten, whatever the amount.
            hp.current = number;
            dying = DyingChange::Cleared;
        }
        hp.current = std::min(hp.current, hp.total);
        return dying;
    }
    case HitPointEntry::Temporary:
        hp.temporary = std::max(hp.temporary, number);
        return DyingChange::Unchanged;
    }
    return DyingChange::Unchanged;
}

HitPointResult computeHitPoints(HitPoints before, const HitPointTexts& texts)
{
    HitPointResult result;
    result.hitPoints = before;
    for (const auto& [entry, text] : inOrder(texts)) {
        if (text.empty()) continue;
        if (const auto number = store::parseWholeNumber(text)) {
            const DyingChange change = applyHitPointEntry(result.hitPoints, entry, *number);
            if (change != DyingChange::Unchanged) result.dying = change;
        }
        else {
            result.badEntries.push_back(entry);
        }
    }
    return result;
}

HitPointResult applyHitPoints(store::Dataset& roster, const HitPointTexts& texts,
                              const std::function<void(const EnteredText&)>& entered)
{
    store::Field curHP = roster.fieldByName("CurHP");
    store::Field tempHP = roster.fieldByName("TempHP");
    store::Field totalHP = roster.fieldByName("TotalHP");
    HitPointResult result;
    result.hitPoints = {curHP.asInteger(), tempHP.asInteger(), totalHP.asInteger()};

    roster.edit();
    for (const auto& [entry, text] : inOrder(texts)) {
        if (text.empty()) continue;
        const std::optional<std::int32_t> number = store::parseWholeNumber(text);
        if (number) {
            const DyingChange change = applyHitPointEntry(result.hitPoints, entry, *number);
            if (change != DyingChange::Unchanged) {
                roster.fieldByName("Dying").setAsBoolean(change == DyingChange::Set);
                result.dying = change;
            }
        }
        else {
            result.badEntries.push_back(entry);
        }
        if (entered) entered({entry, text, number.has_value()});
    }
    curHP.setAsInteger(result.hitPoints.current);
    tempHP.setAsInteger(result.hitPoints.temporary);
    totalHP.setAsInteger(result.hitPoints.total);
    roster.post();
    return result;
}

} // namespace actions
