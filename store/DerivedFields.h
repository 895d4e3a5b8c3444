#pragma once

#include <string>

namespace store {

class Dataset;

// The roster's derived fields of the presented record: HP, Effects, MoneyWeight, AP and MS.
void ADOTable1CalcFields(Dataset& roster);

// The weight row's TotalWeight: its item weight plus the coins of the roster's current record.
void ADOTable4CalcFields(Dataset& weight, Dataset& roster);

// A text kept to its field's length in characters (not bytes: names may be any script).
std::string cutToCharacters(const std::string& text, int maxCharacters);

} // namespace store
