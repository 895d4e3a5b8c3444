#include "store/DerivedFields.h"

#include "store/Dataset.h"

#include <cstdint>

namespace store {

namespace {

// A stored integer as text: its digits, or the empty text when it holds nothing.
std::string numberText(Dataset& d, const char* fieldName)
{
    return d.fieldByName(fieldName).displayText();
}

void setCutText(Dataset& d, const char* fieldName, const std::string& text)
{
    Field f = d.fieldByName(fieldName);
    f.setValue(cutToCharacters(text, f.def().size));
}

} // namespace

std::string cutToCharacters(const std::string& text, int maxCharacters)
{
    if (maxCharacters <= 0) return text;
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A character starts at every byte that is not a UTF-8 continuation byte.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == maxCharacters)
            return text.substr(0, i);
    }
    return text;
}

void ADOTable1CalcFields(Dataset& roster)
{
    setCutText(roster, "HP",
               numberText(roster, "CurHP") + "(" + numberText(roster, "TotalHP") + ") +" +
                   numberText(roster, "TempHP"));

    std::string effects;
    for (int i = 0; i < roster.fieldCount(); ++i) {
        const FieldDef& def = roster.fieldDef(i);
        if (def.type == FieldType::Boolean && !def.origin.empty() && roster.field(i).asBoolean())
            effects += ", " + def.origin;
    }
    setCutText(roster, "Effects", effects.size() >= 2 ? effects.substr(2) : effects);

    const Value cp = roster.fieldValue("cp"), pp = roster.fieldValue("pp"),
                gp = roster.fieldValue("gp"), sp = roster.fieldValue("sp"),
                ad = roster.fieldValue("ad");
    if (!cp.isNull() && !pp.isNull() && !gp.isNull() && !sp.isNull() && !ad.isNull()) {
        // Summed as exact integers: four large purses may pass the 32-bit range together.
        const std::int64_t coins =
            std::int64_t{cp.toInteger()} + pp.toInteger() + gp.toInteger() + sp.toInteger();
        roster.fieldByName("MoneyWeight")
            .setValue(static_cast<double>(coins) / 50 + ad.toInteger() / 500.0);
    }

    setCutText(roster, "AP",
               numberText(roster, "UsedAPoints") + "(" + numberText(roster, "APoints") + ")");
    setCutText(roster, "MS",
               numberText(roster, "UsedMilestone") + "(" + numberText(roster, "Milestone") + ")");
}

void ADOTable4CalcFields(Dataset& weight, Dataset& roster)
{
    weight.fieldByName("TotalWeight")
        .setValue(weight.fieldByName("SumWeight").asFloat() +
                  roster.fieldByName("MoneyWeight").asFloat());
}

} // namespace store
