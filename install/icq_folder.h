// Whether a folder holds an ICQ installation.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace kelvane {

// The folder text ends in a backslash. True when it is at least 4 characters long and holds
// "ICQ.exe" and "MCore.dll" as normal files (not hidden, not system) under exactly these
// names, letter case included.
bool IsIcqFolder(FileSystem& fs, const std::string& folder);

}  // namespace kelvane
