// The connection string: any text is parsed or refused with the program's own error, never
// anything worse; and the string built for any executable's path names exactly the party file
// in that executable's folder, whatever the folder's name holds.
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "tests/fuzz/Finding.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

void parseAnything(std::string_view text)
{
    try {
        for (const auto& [key, value] : store::parseConnectionString(text))
            if (key.empty()) finding("an empty keyword was taken", text);
    }
    catch (const store::Error&) {
        // refused as not well formed: what the connection reports to the master
    }
}

void buildAndReadBack(std::string_view executable)
{
    std::string built;
    try {
        built = store::connectionStringFor(executable);
    }
    catch (const store::Error&) {
        // Refused: a name without a folder names no party file anywhere.
        if (executable.find('/') != std::string_view::npos)
            finding("a name with a folder is refused", executable);
        return;
    }
    if (executable.find('/') == std::string_view::npos)
        finding("a name without a folder was given a party file", executable);
    std::string folder = store::directoryOf(executable);
    if (folder.empty() || folder.back() != '/') folder += '/';
    try {
        const auto pairs = store::parseConnectionString(built);
        if (pairs.size() != 3) finding("the built string does not hold three pairs", built);
        if (pairs.at("provider") != store::jetProvider) finding("the provider was changed", built);
        if (pairs.at("persist security info") != "False") finding("security info changed", built);
        if (pairs.at("data source") != folder + std::string(store::partyFileName))
            finding("the data source is not the executable's folder", built);
    }
    catch (const store::Error&) {
        finding("the built string is refused", built);
    }
    catch (const std::out_of_range&) {
        finding("a pair of the built string is missing", built);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    parseAnything(text);
    buildAndReadBack(text);
    return 0;
}
