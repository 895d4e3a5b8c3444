// The version-block reader over any bytes: as a whole file, as the section of a well-formed ELF
// image of either class and byte order, and as a block on its own. Nothing may crash, read
// outside the bytes or hang; and a block built from any FileVersion text reads that text back.
#include "platform/ElfSection.h"
#include "platform/FileVersion.h"
#include "platform/VersionInfo.h"
#include "tests/fuzz/Finding.h"
#include "tests/platform/ElfImage.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

using namespace platform;

namespace {

// Valid UTF-8 without a zero character, each character in its shortest form: the texts that
// the block stores unchanged.
bool isPlainUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const char32_t c = versioninfo::detail::decodeUtf8(text, i);
        const std::size_t shortest = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (c == 0 || i - at != shortest) return false;
        if (c == U'\uFFFD' && text.substr(at, i - at) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

void roundTrip(std::string_view value, std::uint16_t language, std::uint16_t codePage)
{
    const versioninfo::StringEntry strings[] = {{"FileVersion", value}, {"ProductName", "Tavrix"}};
    const auto block =
        versioninfo::build<4096>({{0, 6, 1, 13}, {0, 6, 1, 13}, language, codePage, strings});
    if (block.overflow) return;
    const auto image = testing_support::makeElfImage(
        {{std::string(versioninfo::sectionName),
          {block.bytes.begin(), block.bytes.begin() + static_cast<std::ptrdiff_t>(block.size)}}});
    MemorySource source(image);
    const std::string read = fileVersionStringIn(source);
    const bool ours = language == 0x0419 && codePage == 0x04E3;
    if (ours && isPlainUtf8(value) && read != value)
        finding("the FileVersion text came back changed");
    if (!ours && !read.empty()) finding("a block of another language gave a text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);

    MemorySource whole(bytes);
    (void)fileVersionStringIn(whole);
    (void)versioninfo::queryText(bytes, versioninfo::fileVersionPath);

    if (size < 5) return 0;
    const std::uint8_t flags = data[0];
    const std::span<const std::uint8_t> rest = bytes.subspan(5);
    const testing_support::ElfImageOptions options{(flags & 1) != 0, (flags & 2) != 0,
                                                   (flags & 4) != 0};
    const auto image = testing_support::makeElfImage(
        {{std::string(versioninfo::sectionName), {rest.begin(), rest.end()}}}, options);
    MemorySource wrapped(image);
    (void)fileVersionStringIn(wrapped);

    const auto language = static_cast<std::uint16_t>((flags & 8) ? 0x0419 : data[1] << 8 | data[2]);
    const auto codePage = static_cast<std::uint16_t>((flags & 8) ? 0x04E3 : data[3] << 8 | data[4]);
    roundTrip(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()), language,
              codePage);
    return 0;
}
