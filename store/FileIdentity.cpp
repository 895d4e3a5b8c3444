#include "store/FileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

std::optional<FileIdentity> FileIdentity::of(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

std::optional<std::uint32_t> changeCounterOf(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    unsigned char bytes[4];
    const bool read = ::pread(fd, bytes, sizeof bytes, 24) == sizeof bytes;
    ::close(fd);
    if (!read) return std::nullopt;
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

} // namespace store
