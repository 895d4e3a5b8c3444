#pragma once

// Finds a named section in an ELF file (32 or 64-bit, either byte order) and reads its bytes.
// Every read is checked against the size of the source, so any bytes at all, truncated,
// random or claiming huge sizes, give "not found" rather than a crash, an out-of-bounds read,
// a huge allocation or a hang.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Bytes readable at given offsets.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly `count` bytes at `offset` into `out`; false when they are not all there.
    virtual bool read(std::uint64_t offset, std::size_t count, std::uint8_t* out) = 0;
};

// The bytes of a file. Only a regular file is opened (a pipe, a device or a directory is
// taken as empty); it is read where asked, never wholly.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& fileName);
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::size_t count, std::uint8_t* out) override;

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

// Bytes in memory.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::size_t count, std::uint8_t* out) override;

private:
    std::span<const std::uint8_t> bytes_;
};

// The limits of the search: files with more section headers than this, a section header
// table or a section-name table larger than this, are taken as malformed; at most `maxBytes` of the
// section are read.
inline constexpr std::uint32_t maxElfSections = 65536;
inline constexpr std::uint64_t maxElfNameTable = 4u << 20;
inline constexpr std::uint64_t maxElfHeaderTable = 8u << 20;

// The first 'maxBytes' bytes (or fewer, when it is shorter) of the first section named `name`
// that has bytes in the file; nothing when the source is no ELF file, has no such section, or
// is malformed on the way.
std::optional<std::vector<std::uint8_t>> readElfSection(ByteSource& source, std::string_view name,
                                                        std::size_t maxBytes);

} // namespace platform
