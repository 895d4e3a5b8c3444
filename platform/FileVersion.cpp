#include "platform/FileVersion.h"

#ifdef _WIN32

#include <windows.h>

#include <cstring>
#include <vector>

namespace platform {

std::string GetFileVersionString(const std::string& fileName)
{
    std::string result;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) return result;
    std::vector<char> buffer(size, 0);
    GetFileVersionInfoA(fileName.c_str(), handle, size, buffer.data()); // outcome not looked at
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(buffer.data(), "\\StringFileInfo\\041904E3\\FileVersion", &value, &length) &&
        value != nullptr) {
        const char* text = static_cast<const char*>(value);
        result.assign(text, strnlen(text, length));
    }
    return result;
}

} // namespace platform

#else

#include "platform/ElfSection.h"
#include "platform/VersionInfo.h"

namespace platform {

std::string fileVersionStringIn(ByteSource& image)
{
    // A block's length is a 16-bit number: more than that is never looked at.
    const auto block = readElfSection(image, versioninfo::sectionName, 0xFFFF);
    if (!block) return {};
    const auto text = versioninfo::queryText(*block, versioninfo::fileVersionPath);
    return text ? versioninfo::toUtf8(*text) : std::string();
}

std::string GetFileVersionString(const std::string& fileName)
{
    FileSource file(fileName);
    return fileVersionStringIn(file);
}

} // namespace platform

#endif
