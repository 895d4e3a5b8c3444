#pragma once

#include "forms/NumberEdits.h"
#include "store/Statement.h"

#include <QLineEdit>

#include <array>
#include <utility>

namespace forms {

// The character and NPC dialogs share one column of seven edits: Edit1 the name, Edit2 to
// Edit7 the numbers Initiative, TotalHP, AC, Fort, Ref and Will.
template <class Form> std::array<QLineEdit*, 6> numberEdits(const Form& form)
{
    return {form.Edit2, form.Edit3, form.Edit4, form.Edit5, form.Edit6, form.Edit7};
}

// Declares the parameters the character statements share: the name a text, the seven numbers
// as `numbers`.
inline void declareCharacterParameters(store::Statement& statement, store::ValueType numbers)
{
    statement.paramByName("Name").declare(store::ValueType::String);
    for (const char* number : {"TotalHP", "CurHP", "Initiative", "AC", "Ref", "Fort", "Will"})
        statement.paramByName(number).declare(numbers);
}

// Binds the numbers of a character, each converted from its edit's text in this order:
// Initiative, TotalHP, CurHP (the TotalHP edit again: a character starts, and is reset to,
// full hit points), AC, Fort, Ref, Will. The first text that is not a whole number raises its
// conversion error, so a statement is never run with a number missing.
template <class Form> void bindCharacterNumbers(store::Statement& statement, const Form& form)
{
    const std::pair<const char*, const QLineEdit*> numbers[] = {
        {"Initiative", form.Edit2}, {"TotalHP", form.Edit3}, {"CurHP", form.Edit3},
        {"AC", form.Edit4},         {"Fort", form.Edit5},    {"Ref", form.Edit6},
        {"Will", form.Edit7},
    };
    for (const auto& [parameter, edit] : numbers)
        statement.paramByName(parameter).setValue(store::Value(wholeNumberOf(*edit)));
}

} // namespace forms
