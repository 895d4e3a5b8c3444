#include "store/PartyStore.h"

#include "store/DerivedFields.h"

namespace store {

namespace {

FieldDef stored(const char* name, FieldType type, int size = 0)
{
    FieldDef def;
    def.name = name;
    def.type = type;
    def.size = size;
    return def;
}

FieldDef derived(const char* name, FieldType type, int size = 0)
{
    FieldDef def = stored(name, type, size);
    def.derived = true;
    return def;
}

FieldDef condition(const char* name, const char* origin)
{
    FieldDef def = stored(name, FieldType::Boolean);
    def.origin = origin;
    return def;
}

} // namespace

const std::vector<const char*>& conditionFields()
{
    static const std::vector<const char*> names = {
        "Blinded",     "Dazed",   "Dominated", "Dying",       "Helpless",
        "Immobilized", "Marked",  "Petrified", "Prone",       "Restrained",
        "Slowed",      "Stunned", "Surprised", "Unconscious", "Weakened"};
    return names;
}

std::vector<FieldDef> rosterFields()
{
    using T = FieldType;
    std::vector<FieldDef> f = {
        stored("Name", T::String, 255), derived("HP", T::String, 20),
        stored("TotalHP", T::Integer),  stored("CurHP", T::Integer),
        stored("TempHP", T::Integer),   stored("Initiative", T::Decimal),
        stored("AC", T::Integer),       stored("Ref", T::Integer),
        stored("Fort", T::Integer),     stored("Will", T::Integer),
        stored("APoints", T::Integer),
    };
    const char* origins[] = {"Bl", "Da", "Do", "Dy", "He", "Im", "Ma", "Pe",
                             "Pr", "Re", "Sl", "St", "Su", "Un", "We"};
    for (std::size_t i = 0; i < conditionFields().size(); ++i)
        f.push_back(condition(conditionFields()[i], origins[i]));
    const std::vector<FieldDef> rest = {
        derived("Effects", T::String, 200),
        stored("HealingSurgesUsed", T::Integer),
        stored("cp", T::Integer),
        stored("sp", T::Integer),
        stored("gp", T::Integer),
        stored("pp", T::Integer),
        stored("ad", T::Integer),
        derived("MoneyWeight", T::Float),
        stored("ID", T::Integer),
        stored("Milestone", T::Integer),
        stored("UsedMilestone", T::Integer),
        stored("UsedAPoints", T::Integer),
        stored("PC", T::Boolean),
        derived("AP", T::String, 20),
        derived("MS", T::String, 20),
        stored("UsedEnc", T::Integer),
        stored("UsedDaily", T::Integer),
        stored("UsedDailyItem", T::Integer),
        stored("UsedSecondWind", T::Boolean),
    };
    f.insert(f.end(), rest.begin(), rest.end());
    f[static_cast<std::size_t>(
          std::find_if(f.begin(), f.end(), [](const FieldDef& d) { return d.name == "ID"; }) -
          f.begin())]
        .readOnly = true;
    return f;
}

PartyStore::PartyStore()
    : ADOConnection1("ADOConnection1"), ADOTable1(ADOConnection1, "ADOTable1"),
      ADOTable2(ADOConnection1, "ADOTable2"), ADOTable3(ADOConnection1, "ADOTable3"),
      ADOTable4(ADOConnection1, "ADOTable4"), history(ADOConnection1)
{
    ADOConnection1.setProvider("Microsoft.Jet.OLEDB.4.0");
    ADOConnection1.setLoginPrompt(false);
    ADOConnection1.setMode(Connection::Mode::ShareDenyNone);

    ADOTable1.setTable("Table1");
    ADOTable1.setIndexName("PrimaryKey");
    ADOTable1.setFields(rosterFields());
    ADOTable1.setCalcFields(ADOTable1CalcFields);

    using T = FieldType;
    ADOTable2.setQuery("SumMoney");
    ADOTable2.setFields({stored("Sum-cp", T::Float), stored("Sum-sp", T::Float),
                         stored("Sum-gp", T::Float), stored("Sum-pp", T::Float),
                         stored("Sum-ad", T::Float)});

    ADOTable3.setTable("Inventory");
    ADOTable3.setMaster(ADOTable1, "Name", "Name");

    ADOTable4.setQuery("Weight");
    ADOTable4.setFields({stored("SumWeight", T::Float), derived("TotalWeight", T::Float),
                         stored("Name", T::String, 50)});
    ADOTable4.setMaster(ADOTable1, "Name", "Name");
    // The weight reads the roster's coins at the moment its row is read, so it is computed
    // then, not when first shown.
    ADOTable4.setCalcFields([this](Dataset& weight) { ADOTable4CalcFields(weight, ADOTable1); },
                            true);

    history.describeTable("Table1", "Name", "character", "characters",
                          {{"CurHP", "HP"},
                           {"TempHP", "temporary"},
                           {"TotalHP", "total HP"},
                           {"HealingSurgesUsed", "surges used"},
                           {"APoints", "action points"},
                           {"UsedAPoints", "action points used"},
                           {"Milestone", "milestones"},
                           {"UsedMilestone", "milestones used"},
                           {"UsedEnc", "encounter powers used"},
                           {"UsedDaily", "daily powers used"},
                           {"UsedDailyItem", "daily item powers used"},
                           {"UsedSecondWind", "second wind used"},
                           {"PC", "player character"}});
    history.describeTable("Inventory", "Item", "item", "items");
}

void PartyStore::openAll()
{
    history.attach();
    ADOTable1.open();
    ADOTable2.open();
    ADOTable3.open();
    ADOTable4.open();
}

} // namespace store
