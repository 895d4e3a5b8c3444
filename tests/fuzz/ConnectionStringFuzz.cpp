// The connection string: any text is parsed or refused with the program's own error, never
// anything worse; and the string built for any executable's path names exactly the party file
// in that executable's folder, whatever the folder's name holds.
#include "store/ConnectionString.h"
#include "store/Error.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view text)
{
    std::fprintf(stderr, "%s: '%.*s'\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

void parseAnything(std::string_view text)
{
    try {
        for (const auto& [key, value] : store::parseConnectionString(text))
            if (key.empty()) fail("an empty keyword was taken", text);
    }
    catch (const store::Error&) {
        // refused as not well formed: what the connection reports to the master
    }
}

void buildAndReadBack(std::string_view executable)
{
    const std::string built = store::connectionStringFor(executable);
    std::string folder = store::directoryOf(executable);
    if (folder.empty() || folder.back() != '/') folder += '/';
    try {
        const auto pairs = store::parseConnectionString(built);
        if (pairs.size() != 3) fail("the built string does not hold three pairs", built);
        if (pairs.at("provider") != store::jetProvider) fail("the provider was changed", built);
        if (pairs.at("persist security info") != "False") fail("security info changed", built);
        if (pairs.at("data source") != folder + std::string(store::partyFileName))
            fail("the data source is not the executable's folder", built);
    }
    catch (const store::Error&) {
        fail("the built string is refused", built);
    }
    catch (const std::out_of_range&) {
        fail("a pair of the built string is missing", built);
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
