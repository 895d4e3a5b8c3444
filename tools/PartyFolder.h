#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace launcher {

// What the master chose for a folder that holds no party file yet.
enum class FirstStart { EmptyParty, SampleParty, Cancel };

// The name of the link to the installed program that a party folder holds. The program takes
// the folder of the path it was started by as its own, so started through this link it reads
// the party file beside the link.
inline constexpr const char* programLinkName = "Tavrix";

// The folder a start without a folder uses: $XDG_DATA_HOME/tavrix/party, which is
// ~/.local/share/tavrix/party unless the user's data folder is set elsewhere.
std::filesystem::path defaultPartyFolder();

// The installed program: Tavrix in the launcher's own folder, wherever the launcher was
// started from (a link to it included). Raises an error when it is missing.
std::filesystem::path installedProgram(const std::filesystem::path& launcherFile);

// Makes `folder` ready for the program and gives the path to start it by, or nothing when the
// master cancelled: creates the folder, creates a party file there on the first start (asking
// the master which), and makes the folder's link point at `program`, mending a link left by an
// older or another installation. Raises an error, with the text the master reads, for a folder
// that cannot be made or written.
std::optional<std::filesystem::path>
preparePartyFolder(const std::filesystem::path& folder, const std::filesystem::path& program,
                   const std::function<FirstStart(const std::filesystem::path&)>& askFirstStart);

} // namespace launcher
