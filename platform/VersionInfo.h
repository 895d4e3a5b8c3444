#pragma once

// The version block that the program carries and that GetFileVersionString reads back: the
// VS_VERSIONINFO layout of the Windows version resource, built here by constexpr code so that
// the build can place a block of the project's own version numbers in the executable (see
// platform/VersionBlock.cpp), and tests can build blocks of any other content.
//
// Layout (all numbers little-endian, every node starting on a 4-byte boundary of the block):
//   node  = WORD wLength (bytes of the node with its children, without trailing padding)
//           WORD wValueLength (in WCHARs for text values, in bytes for binary ones)
//           WORD wType (1 text, 0 binary)
//           WCHAR key[] zero-terminated, padding to 4 bytes
//           value, padding to 4 bytes
//           children (nodes)
//   root  "VS_VERSION_INFO", value VS_FIXEDFILEINFO (52 bytes), children:
//     "StringFileInfo" > one table per language, key "LLLLCCCC" (language, code page in hex)
//                      > one text node per string ("FileVersion", "ProductName", ...)
//     "VarFileInfo"    > "Translation", value pairs of WORD language, WORD code page

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform::versioninfo {

// The named section of the ELF file that holds the block on Linux.
inline constexpr std::string_view sectionName = ".tavrix_version";

// The string table block that GetFileVersionString consults, and its FileVersion entry.
inline constexpr std::string_view fileVersionPath = "\\StringFileInfo\\041904E3\\FileVersion";

// VS_FIXEDFILEINFO constants.
inline constexpr std::uint32_t fixedSignature = 0xFEEF04BD;
inline constexpr std::uint32_t fixedStructVersion = 0x00010000;
inline constexpr std::uint32_t osNtWindows32 = 0x00040004; // VOS_NT_WINDOWS32
inline constexpr std::uint32_t typeApp = 0x00000001;       // VFT_APP

struct FourPartVersion {
    std::uint16_t major = 0, minor = 0, release = 0, build = 0;
    constexpr std::uint32_t ms() const { return std::uint32_t{major} << 16 | minor; }
    constexpr std::uint32_t ls() const { return std::uint32_t{release} << 16 | build; }
};

// One entry of a string table; both texts in UTF-8.
struct StringEntry {
    std::string_view key;
    std::string_view value;
};

struct BlockContents {
    FourPartVersion fileVersion;
    FourPartVersion productVersion;
    std::uint16_t language = 0x0419; // the string table's and the translation's
    std::uint16_t codePage = 0x04E3;
    std::span<const StringEntry> strings;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = osNtWindows32;
    std::uint32_t fileType = typeApp;
};

// A block of at most Capacity bytes; `size` bytes are used. `overflow` is set when the block
// did not fit Capacity or the 16-bit lengths of its nodes.
template <std::size_t Capacity> struct Block {
    std::array<std::uint8_t, Capacity> bytes{};
    std::size_t size = 0;
    bool overflow = false;

    constexpr std::span<const std::uint8_t> view() const { return {bytes.data(), size}; }

    constexpr void u8(std::uint8_t b)
    {
        if (size < Capacity)
            bytes[size++] = b;
        else
            overflow = true;
    }
    constexpr void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    constexpr void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    constexpr void align4()
    {
        while (size % 4 != 0 && !overflow)
            u8(0);
    }
    constexpr void patch16(std::size_t at, std::size_t v)
    {
        if (v > 0xFFFF) overflow = true;
        if (at + 1 < Capacity) {
            bytes[at] = static_cast<std::uint8_t>(v & 0xFF);
            bytes[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
        }
    }
};

namespace detail {

// Decodes one code point of UTF-8 at text[i], advancing i; a broken sequence gives U+FFFD.
constexpr char32_t decodeUtf8(std::string_view text, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(text[i++]);
    if (b0 < 0x80) return b0;
    int extra = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0)
        extra = 1, cp = b0 & 0x1F;
    else if ((b0 & 0xF0) == 0xE0)
        extra = 2, cp = b0 & 0x0F;
    else if ((b0 & 0xF8) == 0xF0)
        extra = 3, cp = b0 & 0x07;
    else
        return U'\uFFFD';
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size()) return U'\uFFFD';
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) return U'\uFFFD';
        cp = cp << 6 | (b & 0x3F);
        ++i;
    }
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return U'\uFFFD';
    return cp;
}

// Writes text as UTF-16 with a terminating zero; gives the number of WCHARs written with it.
template <std::size_t C> constexpr std::size_t utf16z(Block<C>& b, std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = decodeUtf8(text, i);
        if (cp >= 0x10000) {
            b.u16(static_cast<std::uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            b.u16(static_cast<std::uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
            units += 2;
        }
        else {
            b.u16(static_cast<std::uint16_t>(cp));
            units += 1;
        }
    }
    b.u16(0);
    return units + 1;
}

constexpr std::size_t utf16Units(std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();)
        units += decodeUtf8(text, i) >= 0x10000 ? 2 : 1;
    return units + 1;
}

// Starts a node: its header and key; gives where it starts, for endNode.
template <std::size_t C>
constexpr std::size_t beginNode(Block<C>& b, std::size_t valueLength, std::uint16_t type,
                                std::string_view key)
{
    b.align4();
    const std::size_t start = b.size;
    b.u16(0); // wLength, patched by endNode
    if (valueLength > 0xFFFF) b.overflow = true;
    b.u16(static_cast<std::uint16_t>(valueLength & 0xFFFF));
    b.u16(type);
    utf16z(b, key);
    b.align4();
    return start;
}

template <std::size_t C> constexpr void endNode(Block<C>& b, std::size_t start)
{
    b.patch16(start, b.size - start);
}

constexpr char hexDigit(unsigned v)
{
    return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10);
}

} // namespace detail

// The key of a string table: language and code page as eight upper-case hexadecimal digits,
// "041904E3" for Russian (0x0419) in code page 1251 (0x04E3).
constexpr std::array<char, 8> tableKey(std::uint16_t language, std::uint16_t codePage)
{
    const std::uint32_t v = std::uint32_t{language} << 16 | codePage;
    std::array<char, 8> key{};
    for (int i = 0; i < 8; ++i)
        key[i] = detail::hexDigit((v >> (28 - 4 * i)) & 0xF);
    return key;
}

// Builds the whole block from its contents.
template <std::size_t Capacity = 4096>
constexpr Block<Capacity> build(const BlockContents& contents)
{
    using namespace detail;
    Block<Capacity> b;
    const std::size_t root = beginNode(b, 52, 0, "VS_VERSION_INFO");
    b.u32(fixedSignature);
    b.u32(fixedStructVersion);
    b.u32(contents.fileVersion.ms());
    b.u32(contents.fileVersion.ls());
    b.u32(contents.productVersion.ms());
    b.u32(contents.productVersion.ls());
    b.u32(0x3F); // dwFileFlagsMask
    b.u32(contents.fileFlags);
    b.u32(contents.fileOs);
    b.u32(contents.fileType);
    b.u32(0); // dwFileSubtype
    b.u32(0); // dwFileDateMS
    b.u32(0); // dwFileDateLS

    const std::size_t sfi = beginNode(b, 0, 1, "StringFileInfo");
    const auto key = tableKey(contents.language, contents.codePage);
    const std::size_t table = beginNode(b, 0, 1, std::string_view(key.data(), key.size()));
    for (const StringEntry& s : contents.strings) {
        const std::size_t entry = beginNode(b, utf16Units(s.value), 1, s.key);
        utf16z(b, s.value);
        endNode(b, entry);
    }
    endNode(b, table);
    endNode(b, sfi);

    const std::size_t vfi = beginNode(b, 0, 1, "VarFileInfo");
    const std::size_t var = beginNode(b, 4, 0, "Translation");
    b.u16(contents.language);
    b.u16(contents.codePage);
    endNode(b, var);
    endNode(b, vfi);
    endNode(b, root);
    return b;
}

// Looks a value up by its path in a block, as VerQueryValue does: the path
// "\StringFileInfo\041904E3\FileVersion" gives the text of that string (up to its terminating
// zero, in UTF-16); keys are compared without regard to the case of ASCII letters. Nothing
// when the path is not there or the block is malformed. Reads only inside `block`.
std::optional<std::u16string> queryText(std::span<const std::uint8_t> block, std::string_view path);

// UTF-16 to UTF-8; a lone surrogate gives U+FFFD.
std::string toUtf8(std::u16string_view text);

} // namespace platform::versioninfo
