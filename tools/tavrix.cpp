// tavrix [FOLDER]: starts Tavrix on the party kept in FOLDER (by default the user's own,
// ~/.local/share/tavrix/party), creating the party on the first start. The program reads the
// party file beside the path it was started by; the launcher keeps a link to the installed
// program in the folder and starts the program through that link.
#include "tools/FirstStartQuestion.h"
#include "tools/PartyFolder.h"
#include "ui/Application.h"
#include "ui/ErrorHandler.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const usage =
    "usage: tavrix [FOLDER]\n"
    "Starts Tavrix on the party kept in FOLDER, one folder per campaign. Without FOLDER the\n"
    "party is your own: $XDG_DATA_HOME/tavrix/party (~/.local/share/tavrix/party).\n"
    "\n"
    "The party is the one file FOLDER/Mirel.mdb; copy that file to back the party up. A\n"
    "folder without one gets a new party on the first start: empty or a sample, as you\n"
    "choose. FOLDER also holds a link named Tavrix to the installed program, through which\n"
    "the program is started; the launcher mends it after an upgrade or a move.\n"
    "\n"
    "  -h, --help   show this text\n"
    "\n"
    "See tavrix(1), Tavrix(1) and tavrix-newdb(1).\n";

} // namespace

int main(int argc, char** argv)
{
    std::optional<fs::path> folder;
    bool options = true; // until "--", after which a folder may begin with "-"
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (options && (argument == "--help" || argument == "-h")) {
            std::cout << usage;
            return 0;
        }
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if ((options && argument.starts_with('-')) || folder) {
            std::cerr << "tavrix: unexpected argument '" << argument << "'\n" << usage;
            return 2;
        }
        folder = argument;
    }

    // The window system is brought up only when the launcher has something to show: a start
    // on an existing party goes straight to the program.
    std::optional<ui::Application> application;
    const auto needApplication = [&] {
        if (!application) application.emplace(argc, argv);
    };
    try {
        const fs::path program = launcher::installedProgram(fs::read_symlink("/proc/self/exe"));
        const std::optional<fs::path> start = launcher::preparePartyFolder(
            folder ? *folder : launcher::defaultPartyFolder(), program, [&](const fs::path& where) {
                needApplication();
                return launcher::askFirstStart(where);
            });
        if (!start) return 1; // the master cancelled: nothing created, nothing started
        application.reset();
        // The link's own path, not its target, is what the program is started by: its folder
        // is the party's.
        std::string path = start->string();
        char* arguments[] = {path.data(), nullptr};
        execv(path.c_str(), arguments);
        throw std::runtime_error("Cannot start '" + path + "': " + std::strerror(errno) + ".");
    }
    catch (const std::exception& e) {
        std::cerr << "tavrix: " << e.what() << "\n";
        needApplication();
        ui::showError(e);
        return 1;
    }
}
