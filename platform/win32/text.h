// Text conversion at the Win32 edge: UTF-8 inside, UTF-16 outside.
#pragma once

#include <string>

namespace kelvane::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// Widened and made whole: the profile and version calls look for a relative name on their own
// search paths (the Windows folder, System32), not in the current folder.
std::wstring FullPath(const std::string& path);

}  // namespace kelvane::win32
