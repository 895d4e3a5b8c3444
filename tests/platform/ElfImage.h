#pragma once

// Builds small ELF files in memory for the tests: a null section, any named sections with
// bytes, and the section-name table, in either class and byte order.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ElfSectionSpec {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t type = 1; // SHT_PROGBITS
};

struct ElfImageOptions {
    bool is64 = true;
    bool bigEndian = false;
    bool extendedNumbering = false; // e_shnum 0 and e_shstrndx SHN_XINDEX, real values in section 0
};

inline std::vector<std::uint8_t> makeElfImage(const std::vector<ElfSectionSpec>& sections,
                                              const ElfImageOptions& o = {})
{
    std::vector<std::uint8_t> out;
    auto put = [&](std::size_t at, std::uint64_t v, int bytes) {
        if (out.size() < at + bytes) out.resize(at + bytes);
        for (int i = 0; i < bytes; ++i) {
            const int shift = o.bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            out[at + i] = static_cast<std::uint8_t>(v >> shift);
        }
    };
    const std::size_t headerSize = o.is64 ? 64 : 52;
    const std::size_t entrySize = o.is64 ? 64 : 40;
    out.resize(headerSize);
    out[0] = 0x7F, out[1] = 'E', out[2] = 'L', out[3] = 'F';
    out[4] = o.is64 ? 2 : 1;
    out[5] = o.bigEndian ? 2 : 1;
    out[6] = 1; // EV_CURRENT

    // The data: every section's bytes, then the name table.
    std::string names(1, '\0');
    std::vector<std::uint32_t> nameOffsets, dataOffsets;
    for (const auto& s : sections) {
        nameOffsets.push_back(static_cast<std::uint32_t>(names.size()));
        names += s.name;
        names += '\0';
        while (out.size() % 4)
            out.push_back(0);
        dataOffsets.push_back(static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), s.bytes.begin(), s.bytes.end());
    }
    const std::uint32_t shstrName = static_cast<std::uint32_t>(names.size());
    names += ".shstrtab";
    names += '\0';
    const std::size_t namesAt = out.size();
    out.insert(out.end(), names.begin(), names.end());
    while (out.size() % 8)
        out.push_back(0);

    const std::size_t shoff = out.size();
    const std::size_t count = sections.size() + 2;
    out.resize(shoff + count * entrySize);
    auto section = [&](std::size_t i, std::uint32_t name, std::uint32_t type, std::uint64_t offset,
                       std::uint64_t size, std::uint32_t link) {
        const std::size_t at = shoff + i * entrySize;
        put(at + 0, name, 4);
        put(at + 4, type, 4);
        if (o.is64) {
            put(at + 24, offset, 8);
            put(at + 32, size, 8);
            put(at + 40, link, 4);
        }
        else {
            put(at + 16, offset, 4);
            put(at + 20, size, 4);
            put(at + 24, link, 4);
        }
    };
    if (o.extendedNumbering) section(0, 0, 0, 0, count, static_cast<std::uint32_t>(count - 1));
    for (std::size_t i = 0; i < sections.size(); ++i)
        section(i + 1, nameOffsets[i], sections[i].type, dataOffsets[i], sections[i].bytes.size(),
                0);
    section(count - 1, shstrName, 3 /* SHT_STRTAB */, namesAt, names.size(), 0);

    put(16, 2, 2); // ET_EXEC
    if (o.is64) {
        put(0x28, shoff, 8);
        put(0x34, headerSize, 2);
        put(0x3A, entrySize, 2);
        put(0x3C, o.extendedNumbering ? 0 : count, 2);
        put(0x3E, o.extendedNumbering ? 0xFFFF : count - 1, 2);
    }
    else {
        put(0x20, shoff, 4);
        put(0x28, headerSize, 2);
        put(0x2E, entrySize, 2);
        put(0x30, o.extendedNumbering ? 0 : count, 2);
        put(0x32, o.extendedNumbering ? 0xFFFF : count - 1, 2);
    }
    return out;
}

} // namespace testing_support
