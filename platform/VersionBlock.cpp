// The version resource of the program: a VS_VERSIONINFO block with the project's
// version numbers, placed in the ELF section ".tavrix_version" of every executable that links
// the object library tavrix_version. Built by the compiler from the numbers that CMake writes
// into VersionNumbers.h, so a version bump in the root CMakeLists.txt flows through.
#include "platform/VersionInfo.h"

#include "VersionNumbers.h"

namespace {

using namespace platform::versioninfo;

constexpr FourPartVersion projectVersion{TAVRIX_VERSION_MAJOR, TAVRIX_VERSION_MINOR,
                                         TAVRIX_VERSION_PATCH, TAVRIX_VERSION_TWEAK};

constexpr StringEntry strings[] = {
    {"CompanyName", ""},
    {"FileDescription", "Tavrix, the game master's encounter tracker"},
    {"FileVersion", TAVRIX_FILE_VERSION_STRING},
    {"InternalName", "Tavrix"},
    {"LegalCopyright", ""},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Tavrix"},
    {"ProductName", TAVRIX_PRODUCT_NAME},
    {"ProductVersion", TAVRIX_PRODUCT_VERSION_STRING},
    {"Comments", ""},
};

constexpr BlockContents contents{projectVersion, projectVersion, 0x0419, 0x04E3, strings};

constexpr auto built = build<2048>(contents);
static_assert(!built.overflow, "the version block does not fit");

constexpr std::array<std::uint8_t, built.size> bytes()
{
    std::array<std::uint8_t, built.size> out{};
    for (std::size_t i = 0; i < built.size; ++i)
        out[i] = built.bytes[i];
    return out;
}

} // namespace

#if defined(__ELF__)
// Kept by `used` although nothing refers to it: it is read back from the file, not from memory.
extern const std::array<std::uint8_t, built.size> tavrixVersionBlock;
__attribute__((section(".tavrix_version"), used, aligned(4)))
const std::array<std::uint8_t, built.size>
    tavrixVersionBlock = bytes();
#endif
// Elsewhere (Windows) the version resource is the platform's own, from platform/Tavrix.rc.in.
