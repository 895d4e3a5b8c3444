#pragma once

// GetFileVersionString: the FileVersion string of a file's version resource, from
// the string table block "041904E3" only; the empty text when the file has none.
//
// On Windows it asks the platform (GetFileVersionInfoSizeA, GetFileVersionInfoA,
// VerQueryValueA). Elsewhere the version resource is the VS_VERSIONINFO block that the build
// puts into the ELF section ".tavrix_version" (platform/VersionBlock.cpp); this reads that
// section from the named file and walks the block as VerQueryValue does. Any bytes at all give
// a text or the empty text, never a crash or a hang.
//
// Free of Qt: the program, its tools and its tests all use it alike.

#include <string>

namespace platform {

class ByteSource;

std::string GetFileVersionString(const std::string& fileName);

#ifndef _WIN32
// The FileVersion string of the version block in an ELF image, wherever its bytes are: the
// file that GetFileVersionString names, or bytes in memory.
std::string fileVersionStringIn(ByteSource& image);
#endif

} // namespace platform
