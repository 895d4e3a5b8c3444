#include "platform/ElfSection.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

namespace platform {

FileSource::FileSource(const std::string& fileName)
{
    std::error_code error;
    const std::filesystem::path path(fileName);
    if (!std::filesystem::is_regular_file(path, error) || error) return;
    const auto bytes = std::filesystem::file_size(path, error);
    if (error) return;
    in_.open(path, std::ios::binary);
    if (in_) size_ = bytes;
}

bool FileSource::read(std::uint64_t offset, std::size_t count, std::uint8_t* out)
{
    if (!in_ || offset > size_ || count > size_ - offset) return false;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max()))
        return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    if (!in_) return false;
    in_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    const bool complete = in_.gcount() == static_cast<std::streamsize>(count);
    in_.clear();
    return complete;
}

bool MemorySource::read(std::uint64_t offset, std::size_t count, std::uint8_t* out)
{
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
    return true;
}

namespace {

constexpr std::uint32_t shtNull = 0;
constexpr std::uint32_t shtNobits = 8;
constexpr std::uint16_t shnXindex = 0xFFFF;

struct Layout {
    bool is64 = false;
    bool bigEndian = false;

    std::uint64_t get(const std::uint8_t* p, int bytes) const
    {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            v |= std::uint64_t{p[i]} << shift;
        }
        return v;
    }
    std::size_t headerSize() const { return is64 ? 64 : 52; }
    std::size_t sectionHeaderSize() const { return is64 ? 64 : 40; }
};

struct Section {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t link = 0;
};

Section parseSection(const Layout& l, const std::uint8_t* p)
{
    Section s;
    s.name = static_cast<std::uint32_t>(l.get(p + 0, 4));
    s.type = static_cast<std::uint32_t>(l.get(p + 4, 4));
    if (l.is64) {
        s.offset = l.get(p + 24, 8);
        s.size = l.get(p + 32, 8);
        s.link = static_cast<std::uint32_t>(l.get(p + 40, 4));
    }
    else {
        s.offset = l.get(p + 16, 4);
        s.size = l.get(p + 20, 4);
        s.link = static_cast<std::uint32_t>(l.get(p + 24, 4));
    }
    return s;
}

// True when the section's bytes lie wholly inside the source.
bool inside(const Section& s, std::uint64_t sourceSize)
{
    return s.type != shtNobits && s.type != shtNull && s.offset <= sourceSize &&
           s.size <= sourceSize - s.offset;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readElfSection(ByteSource& source, std::string_view name,
                                                        std::size_t maxBytes)
{
    std::array<std::uint8_t, 64> header{};
    if (!source.read(0, 16, header.data())) return std::nullopt;
    if (header[0] != 0x7F || header[1] != 'E' || header[2] != 'L' || header[3] != 'F')
        return std::nullopt;
    Layout l;
    if (header[4] == 1)
        l.is64 = false;
    else if (header[4] == 2)
        l.is64 = true;
    else
        return std::nullopt;
    if (header[5] == 1)
        l.bigEndian = false;
    else if (header[5] == 2)
        l.bigEndian = true;
    else
        return std::nullopt;
    if (!source.read(0, l.headerSize(), header.data())) return std::nullopt;

    const std::uint64_t shoff = l.is64 ? l.get(&header[0x28], 8) : l.get(&header[0x20], 4);
    const std::size_t entrySize = l.get(&header[l.is64 ? 0x3A : 0x2E], 2);
    std::uint64_t count = l.get(&header[l.is64 ? 0x3C : 0x30], 2);
    std::uint64_t nameIndex = l.get(&header[l.is64 ? 0x3E : 0x32], 2);
    if (shoff == 0 || entrySize < l.sectionHeaderSize()) return std::nullopt;
    const std::uint64_t total = source.size();

    // Section 0 holds the real count and name-table index when they do not fit the header.
    std::vector<std::uint8_t> entry(entrySize);
    if (count == 0 || nameIndex == shnXindex) {
        if (!source.read(shoff, entrySize, entry.data())) return std::nullopt;
        const Section first = parseSection(l, entry.data());
        if (count == 0) count = first.size;
        if (nameIndex == shnXindex) nameIndex = first.link;
    }
    if (count == 0 || count > maxElfSections || nameIndex >= count) return std::nullopt;
    if (shoff > total || count > (total - shoff) / entrySize) return std::nullopt;
    if (count * entrySize > maxElfHeaderTable) return std::nullopt;

    std::vector<std::uint8_t> table(static_cast<std::size_t>(count) * entrySize);
    if (!source.read(shoff, table.size(), table.data())) return std::nullopt;
    auto sectionAt = [&](std::uint64_t i) { return parseSection(l, &table[i * entrySize]); };

    const Section names = sectionAt(nameIndex);
    if (!inside(names, total) || names.size > maxElfNameTable) return std::nullopt;
    std::vector<std::uint8_t> nameTable(static_cast<std::size_t>(names.size));
    if (!source.read(names.offset, nameTable.size(), nameTable.data())) return std::nullopt;

    for (std::uint64_t i = 0; i < count; ++i) {
        const Section s = sectionAt(i);
        // The name must be there whole, with its terminating zero.
        if (s.name >= nameTable.size() || nameTable.size() - s.name < name.size() + 1) continue;
        if (std::memcmp(&nameTable[s.name], name.data(), name.size()) != 0 ||
            nameTable[s.name + name.size()] != 0)
            continue;
        if (!inside(s, total)) continue;
        std::vector<std::uint8_t> bytes(
            static_cast<std::size_t>(std::min<std::uint64_t>(s.size, maxBytes)));
        if (!source.read(s.offset, bytes.size(), bytes.data())) return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

} // namespace platform
