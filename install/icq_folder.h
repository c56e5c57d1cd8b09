// Whether a folder holds an ICQ installation.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace kelvane {

// The two files that make a folder ICQ's; both carry the version Kelvane checks.
inline constexpr char kIcqProgram[] = "ICQ.exe";
inline constexpr char kIcqCore[] = "MCore.dll";

// The folder text ends in a backslash. True when it is at least 4 characters long and holds
// kIcqProgram and kIcqCore as normal files (not hidden, not system) under exactly these
// names, letter case included.
bool IsIcqFolder(FileSystem& fs, const std::string& folder);

// The folder field's check, run on every change of its text: true when Start may be enabled,
// that is when the text as typed, with or without its trailing backslash, names an ICQ folder.
// The length rule applies to the text itself, so a drive root never passes.
bool ValidateFolderField(FileSystem& fs, const std::string& text);

}  // namespace kelvane
