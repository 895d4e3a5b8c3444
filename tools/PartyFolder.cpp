#include "tools/PartyFolder.h"

#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/PartySchema.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace launcher {

namespace {

std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

[[noreturn]] void fail(const std::string& what, const std::error_code& error)
{
    throw store::Error(what + ": " + error.message() + ".");
}

fs::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return entry->pw_dir;
    throw store::Error("Cannot find your home folder (HOME is not set).");
}

// Points the folder's link at the program. A link that already does is left alone, so that
// a start writes nothing; any other link is replaced in one step (made under another name,
// then renamed over it), so that a second start at the same moment never sees the folder
// without one. A file of that name that is no link is the master's, and stays.
void linkProgram(const fs::path& folder, const fs::path& program)
{
    const fs::path link = folder / programLinkName;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(link, error);
    if (fs::exists(status)) {
        if (!fs::is_symlink(status))
            throw store::Error(quoted(link) +
                               " is not a link to the installed Tavrix. Move it out of the "
                               "folder and start again.");
        if (fs::read_symlink(link, error) == program && !error) return;
    }
    const fs::path fresh =
        folder / ("." + std::string(programLinkName) + ".link-" + std::to_string(getpid()));
    fs::remove(fresh, error);
    // A folder on a file system without symbolic links (a memory stick's) refuses here.
    fs::create_symlink(program, fresh, error);
    if (!error) fs::rename(fresh, link, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        fail("Cannot make the link " + quoted(link) + " to the program", error);
    }
}

} // namespace

fs::path defaultPartyFolder()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the desktop's rules say.
    const char* data = std::getenv("XDG_DATA_HOME");
    const fs::path base = data && *data && fs::path(data).is_absolute()
                              ? fs::path(data)
                              : homeFolder() / ".local" / "share";
    return base / "tavrix" / "party";
}

fs::path installedProgram(const fs::path& launcherFile)
{
    const fs::path program = launcherFile.parent_path() / programLinkName;
    std::error_code error;
    if (!fs::is_regular_file(program, error))
        throw store::Error("The program Tavrix is not installed beside the launcher (" +
                           quoted(program) + " is missing).");
    return program;
}

std::optional<fs::path>
preparePartyFolder(const fs::path& folder, const fs::path& program,
                   const std::function<FirstStart(const fs::path&)>& askFirstStart)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(folder, error);
    if (error) fail("Cannot find the party folder " + quoted(folder), error);
    if (fs::exists(absolute, error) && !fs::is_directory(absolute, error))
        throw store::Error(quoted(absolute) + " is not a folder.");

    // Nothing is made before the master has answered: Cancel leaves no trace.
    const fs::path party = absolute / store::partyFileName;
    if (!fs::exists(fs::symlink_status(party, error))) {
        const FirstStart choice = askFirstStart(absolute);
        if (choice == FirstStart::Cancel) return std::nullopt;
        fs::create_directories(absolute, error);
        if (error) fail("Cannot create the party folder " + quoted(absolute), error);
        store::createPartyFile(party.string(), choice == FirstStart::SampleParty);
    }
    linkProgram(absolute, program);
    return absolute / programLinkName;
}

} // namespace launcher
