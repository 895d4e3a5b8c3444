// A second program on the party file, for the fault tests: it works on the file through the
// same store and actions as the main window, so that the tests can kill it, run two of it at
// once, or hold the file locked, the way other programs at the table do.
//
//   tavrix_fault_worker rest PATH extended|short   the group rest over every player character
//   tavrix_fault_worker serve PATH                 one command a line on standard input
//   tavrix_fault_worker soak PATH SEED COUNT LOG   COUNT accepted random actions, each logged,
//                                                  begun on a line 'go'
//   tavrix_fault_worker lock PATH MS               holds the write lock for MS milliseconds
//   tavrix_fault_worker undo PATH                  the group extended rest as one step, then
//                                                  its undo
//   tavrix_fault_worker batch PATH COUNT           COUNT NPCs "Orc.1" ... in one step, as the NPC
//                                                  batch dialog writes them, saying "at N" after
//                                                  every 50th
#include "actions/Counters.h"
#include "actions/GroupActions.h"
#include "actions/HitPoints.h"
#include "actions/Rests.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/PartyStore.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void openParty(store::PartyStore& party, const std::string& path)
{
    party.ADOConnection1.setConnectionString(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + store::quoteConnectionValue(path) +
        ";Persist Security Info=False");
    party.ADOConnection1.setConnected(true);
    party.openAll();
}

const char* stateName(store::DatasetState state)
{
    switch (state) {
    case store::DatasetState::Inactive:
        return "closed";
    case store::DatasetState::Browse:
        return "browse";
    case store::DatasetState::Edit:
        return "edit";
    case store::DatasetState::Insert:
        return "insert";
    }
    return "?";
}

// Makes the record with this ID current; false when the roster has none.
bool goToId(store::Dataset& roster, int id)
{
    for (int i = 0; i < roster.recordCount(); ++i) {
        roster.moveTo(i);
        if (roster.fieldByName("ID").asInteger() == id) return true;
    }
    return false;
}

int rest(const std::string& path, const std::string& kind)
{
    store::PartyStore party;
    openParty(party, path);
    std::cout << "walking" << std::endl;
    auto& roster = party.ADOTable1;
    if (kind == "short")
        actions::forEachPlayerCharacter(roster, [&] { actions::takeShortRest(roster); });
    else
        actions::forEachPlayerCharacter(roster, [&] { actions::takeExtendedRest(roster); });
    std::cout << "done" << std::endl;
    return 0;
}

// The group extended rest as one step of the history, then that step undone.
int undoRest(const std::string& path)
{
    store::PartyStore party;
    openParty(party, path);
    auto& roster = party.ADOTable1;
    {
        const store::HistoryStep step(party.history, "Group Extended Rest");
        actions::forEachPlayerCharacter(roster, [&] { actions::takeExtendedRest(roster); });
    }
    std::cout << "undoing" << std::endl;
    party.history.undo();
    std::cout << "done" << std::endl;
    return 0;
}

// Answers every line with "ok[ value]" or "error MESSAGE", so that the caller sees both what
// the store refused and that this program goes on.
int serve(const std::string& path)
{
    store::PartyStore party;
    auto& roster = party.ADOTable1;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "quit") break;
        std::string answer = "ok";
        try {
            if (command == "open") {
                openParty(party, path);
            }
            else if (command == "reopen") {
                roster.reopen();
            }
            else if (command == "goto") {
                int id = 0;
                in >> id;
                if (!goToId(roster, id)) answer = "error no record " + std::to_string(id);
            }
            else if (command == "damage" || command == "heal") {
                std::string amount;
                in >> amount;
                actions::applyHitPoints(roster, command == "damage"
                                                    ? actions::HitPointTexts{amount, "", ""}
                                                    : actions::HitPointTexts{"", amount, ""});
            }
            else if (command == "post") {
                roster.post();
            }
            else if (command == "get") {
                std::string field;
                in >> field;
                answer += " " + roster.fieldByName(field).asString();
            }
            else if (command == "state") {
                answer += std::string(" ") + stateName(roster.state());
            }
            else {
                answer = "error unknown command " + command;
            }
        }
        catch (const store::Error& e) {
            answer = std::string("error ") + e.what();
        }
        std::cout << answer << std::endl;
    }
    return 0;
}

// One random action, told as additive changes of the current record's stored fields.
struct Change {
    const char* field;
    int delta;
};

struct Action {
    int kind;
    int amount;
};

std::vector<Change> changesOf(const Action& a)
{
    switch (a.kind) {
    case 0:
        // Plenty of hit points and no temporary ones: damage lowers CurHP by exactly the amount.
        return {{"CurHP", -a.amount}};
    case 1:
        // Far below the total and above 0: a heal raises CurHP by exactly the amount.
        return {{"CurHP", a.amount}};
    case 2:
        return {{"Milestone", 1}, {"APoints", 1}};
    case 3:
        return {{"UsedEnc", 1}};
    case 4:
        return {{"UsedDaily", 1}};
    default:
        return {{"UsedAPoints", 1}};
    }
}

void perform(store::Dataset& roster, const Action& a)
{
    const std::string text = std::to_string(a.amount);
    switch (a.kind) {
    case 0:
        actions::applyHitPoints(roster, {text, "", ""});
        break;
    case 1:
        actions::applyHitPoints(roster, {"", text, ""});
        break;
    case 2:
        actions::addMilestone(roster);
        break;
    case 3:
        actions::useEncounterPower(roster);
        break;
    case 4:
        actions::useDailyPower(roster);
        break;
    default:
        actions::useActionPoint(roster);
        break;
    }
}

// Random actions on random records until `target` were accepted. Every accepted one is logged
// as "accepted ID FIELD DELTA ...", every rejected one as "rejected ID kept|lost MESSAGE":
// kept when the record stayed in edit state holding what the action had written. After a
// rejection the roster is reopened, as the master would, to see the other program's change.
int soak(const std::string& path, unsigned seed, int target, const std::string& logPath)
{
    store::PartyStore party;
    openParty(party, path);
    auto& roster = party.ADOTable1;
    std::ofstream log(logPath);
    std::mt19937 random(seed);
    // Both programs start together, once each has the file open.
    std::cout << "ready" << std::endl;
    std::string go;
    std::getline(std::cin, go);
    // A master takes a moment between starting a change and saving it: a short pause after
    // each edit gives the other program the chance to overtake this one.
    std::uniform_int_distribution<int> pause(0, 300);
    roster.subscribe([&](store::DatasetEvent event) {
        if (event == store::DatasetEvent::StateChanged &&
            roster.state() == store::DatasetState::Edit)
            std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
    });
    int accepted = 0, rejected = 0;
    for (int attempt = 0; accepted < target && attempt < 50 * target; ++attempt) {
        roster.moveTo(std::uniform_int_distribution<int>(0, roster.recordCount() - 1)(random));
        const Action action{std::uniform_int_distribution<int>(0, 5)(random),
                            std::uniform_int_distribution<int>(1, 20)(random)};
        const std::vector<Change> changes = changesOf(action);
        const int id = roster.fieldByName("ID").asInteger();
        std::vector<int> before;
        for (const Change& c : changes)
            before.push_back(roster.fieldByName(c.field).asInteger());
        try {
            perform(roster, action);
        }
        catch (const store::Error& e) {
            ++rejected;
            bool kept = roster.state() == store::DatasetState::Edit;
            for (std::size_t i = 0; i < changes.size(); ++i)
                kept = kept && roster.fieldByName(changes[i].field).asInteger() ==
                                   before[i] + changes[i].delta;
            log << "rejected " << id << (kept ? " kept " : " lost ") << e.what() << "\n";
            roster.reopen();
            continue;
        }
        ++accepted;
        log << "accepted " << id;
        for (const Change& c : changes)
            log << " " << c.field << " " << c.delta;
        log << "\n";
    }
    log.flush();
    std::cout << "accepted " << accepted << " rejected " << rejected << std::endl;
    return accepted == target ? 0 : 1;
}

int batch(const std::string& path, int count)
{
    store::PartyStore party;
    openParty(party, path);
    store::Statement insert(party.ADOConnection1, "ADOQuery1");
    insert.setSql(
        "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
        "   VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, :PC );");
    insert.setPrepared(true);
    std::cout << "inserting" << std::endl;
    store::runStep(
        party.ADOConnection1,
        [&] {
            for (int n = 1; n <= count; ++n) {
                insert.paramByName("Name").setValue("Orc." + std::to_string(n));
                for (const char* number : {"TotalHP", "CurHP"})
                    insert.paramByName(number).setValue(std::int32_t{25});
                for (const char* number : {"Initiative", "AC", "Ref", "Fort", "Will"})
                    insert.paramByName(number).setValue(std::int32_t{0});
                insert.paramByName("PC").setValue(false);
                insert.execute();
                if (n % 50 == 0) std::cout << "at " << n << std::endl;
            }
        },
        [] {});
    std::cout << "done" << std::endl;
    return 0;
}

int lock(const std::string& path, int milliseconds)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::cout << "error " << sqlite3_errmsg(db) << std::endl;
        sqlite3_close(db);
        return 1;
    }
    std::cout << "locked" << std::endl;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::cout << (rc == SQLITE_OK ? "released" : "error commit") << std::endl;
    return rc == SQLITE_OK ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "rest") return rest(args[1], args[2]);
        if (args.size() == 2 && args[0] == "serve") return serve(args[1]);
        if (args.size() == 5 && args[0] == "soak")
            return soak(args[1], static_cast<unsigned>(std::stoul(args[2])), std::stoi(args[3]),
                        args[4]);
        if (args.size() == 3 && args[0] == "lock") return lock(args[1], std::stoi(args[2]));
        if (args.size() == 2 && args[0] == "undo") return undoRest(args[1]);
        if (args.size() == 3 && args[0] == "batch") return batch(args[1], std::stoi(args[2]));
    }
    catch (const std::exception& e) {
        std::cout << "error " << e.what() << std::endl;
        return 2;
    }
    std::cerr << "usage: tavrix_fault_worker rest|serve|soak|lock|undo|batch ...\n";
    return 64;
}
